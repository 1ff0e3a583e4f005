// The batch run on the real window: its checks and messages, real images
// converted by worker threads into a real folder and read back, the status
// line, progress and summary, the lock, and cancelling while it runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/user_prompts.h"
#include "convert/batch_run.h"
#include "convert/encoder_lookup.h"
#include "convert/imaging.h"
#include "imagelist/image_list.h"
#include "settings/scaling.h"
#include "settings/settings_panel.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {
constexpr UINT kInformation = MB_OK | MB_ICONINFORMATION;
constexpr UINT kWarning = MB_OK | MB_ICONWARNING;
constexpr UINT kError = MB_OK | MB_ICONERROR;
constexpr UINT kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
constexpr int kJpegRow = 0;
constexpr int kPngRow = 2;
constexpr int kWebpRow = 3;

// A text the status line was set to, with the progress position at that moment;
// every test's window records them.
using StatusUpdate = std::pair<std::wstring, int>;

LRESULT CALLBACK recordStatus(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR updates)
{
    if (message == WM_SETTEXT) {
        const auto position = static_cast<int>(SendMessageW(control(kProgressBar), PBM_GETPOS, 0, 0));
        reinterpret_cast<std::vector<StatusUpdate>*>(updates)->emplace_back(reinterpret_cast<const wchar_t*>(lParam),
                                                                            position);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Wine's JPEG encoder accepts "ImageQuality" but ignores it, so the value is
// read where it arrives: the real options bags share one vtable, whose Write
// the test wraps to record the one value the program writes and pass it on.
using BagWrite = HRESULT(STDMETHODCALLTYPE*)(IPropertyBag2*, ULONG, PROPBAG2*, VARIANT*);
BagWrite gBagWrite = nullptr;
std::atomic<float> gWrittenQuality = -1.0f;

HRESULT STDMETHODCALLTYPE recordBagWrite(IPropertyBag2* bag, ULONG count, PROPBAG2* names, VARIANT* values)
{
    gWrittenQuality = values[0].fltVal;
    return gBagWrite(bag, count, names, values);
}

// Puts `write` into the Write slot of the JPEG encoder's options bags and gives back what was there.
BagWrite swapBagWrite(BagWrite write)
{
    const ComPtr<IPropertyBag2> options = jpegFrameOptions();
    void** slot = *reinterpret_cast<void***>(options.Get()) + 4;  // after QueryInterface, AddRef, Release, Read
    DWORD protection = 0;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
    return reinterpret_cast<BagWrite>(std::exchange(*slot, reinterpret_cast<void*>(write)));
}

// Container and size of a file as WIC reads it back.
std::pair<GUID, PixelSize> imageKind(const std::wstring& path)
{
    const ImageFacts facts = readImageFacts(path);
    return {facts.containerFormat, {facts.width, facts.height}};
}

class BatchRunTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        setBatchWorkerCount(0);
        SetWindowSubclass(control(kStatusText), recordStatus, 0, reinterpret_cast<DWORD_PTR>(&updates));
        // The question gets the scripted answer; any other box must find the run over.
        userPrompts().messageBox = [this, record = userPrompts().messageBox](HWND owner, const std::wstring& text,
                                                                          const std::wstring& caption, UINT type) {
            if (type != kQuestion)
                stateAtBox = this->text(kStatusText) + L"|" + this->text(kStartButton) +
                             (isPanelBusy() || !enabled(kAddImagesButton) ? L"|locked" : L"");
            const int answer = record(owner, text, caption, type);
            return type == kQuestion ? questionAnswer : answer;
        };
    }
    std::wstring source(const std::wstring& name, std::uint32_t width, std::uint32_t height,
                        const GUID& container = GUID_ContainerFormatPng)
    {
        const std::wstring path = sources.file(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        EXPECT_EQ(writeTestImage(path, container, width, height, GUID_WICPixelFormat24bppBGR), S_OK);
        return path;
    }

    void configure(const std::wstring& folder, int formatRow = kJpegRow, int scaleMode = 0)
    {
        typeInto(kTargetFolderEdit, folder);
        selectCombo(kFormatCombo, formatRow);
        selectCombo(kScaleCombo, scaleMode);
    }

    std::wstring start(UINT type, const std::wstring& status)
    {
        messages.clear();
        updates.clear();
        click(kStartButton);
        return finish(type, status);
    }

    // Waits for the box that ends the run (or a check) and gives its text; by
    // then the panel is unlocked and the status line final.
    std::wstring finish(UINT type, const std::wstring& status)
    {
        const auto shown = [this] { return !messages.empty() && messages.back().type != kQuestion; };
        EXPECT_TRUE(pumpUntil(shown));
        if (!shown()) return L"";
        EXPECT_EQ(stateAtBox, status + L"|Konvertierung starten");
        EXPECT_EQ(messages.back().type, type);
        return messages.back().text;
    }

    std::wstring stateAtBox;
    std::vector<StatusUpdate> updates;
    int questionAnswer = IDNO;
    TempFolder sources;
    TempFolder target;
};
}  // namespace

TEST_F(BatchRunTest, ChecksListFolderDirectoryAndEncoderInOrder)
{
    const std::wstring aFile = target.file(L"belegt.txt");
    writeFileBytes(aFile, "eine Datei, kein Ordner");
    const std::wstring cannotCreate = L"Das Zielverzeichnis konnte nicht angelegt oder ge\u00f6ffnet werden.";
    const struct { bool withImage; std::wstring folder; int formatRow; std::wstring text; UINT type; } checks[] = {
        // The list comes first, even when the folder is missing too.
        {false, L"", kJpegRow, L"Bitte w\u00e4hle zuerst mindestens ein Bild aus.", kInformation},
        {true, L"", kJpegRow, L"Bitte w\u00e4hle ein Zielverzeichnis aus.", kInformation},
        {true, aFile, kJpegRow, cannotCreate, kError},
        {true, aFile + L"\\darunter", kJpegRow, cannotCreate, kError},
        // Depends on the installed codecs: Wine and a plain Windows have no WebP encoder.
        {true, target.file(L"neu\\tief"), kWebpRow,
         L"F\u00fcr .webp ist auf diesem Windows-System kein Ausgabe-Encoder installiert.\n\nBitte w\u00e4hle ein "
         L"anderes Zielformat oder installiere eine passende Windows-Codec-Erweiterung.",
         kWarning},
    };
    GUID webp{};
    const bool webpWritable = findEncoder(L".webp", webp);
    const std::wstring image = source(L"bild.png", 16, 12);
    for (const auto& check : checks) {
        SCOPED_TRACE(testing::Message() << "folder \"" << check.folder << "\", image " << check.withImage);
        if (check.formatRow == kWebpRow && webpWritable) continue;
        if (check.withImage && imageList().empty()) addThroughDialog({image});
        configure(check.folder, check.formatRow);
        EXPECT_EQ(start(check.type, L"Bereit."), check.text);
        EXPECT_EQ(messages.size(), 1u);
    }
    EXPECT_EQ(fileNamesIn(target.path()), std::vector<std::wstring>{L"belegt.txt"});
    // The folder check comes before the encoder check, so the folder exists already.
    EXPECT_TRUE(webpWritable || std::filesystem::is_directory(target.file(L"neu\\tief")));
}

TEST_F(BatchRunTest, RunIntoTheSourcesFolderOverwritesNothingAndFollowsNoLink)
{
    setBatchWorkerCount(1);
    addThroughDialog({source(L"eins.png", 64, 48), source(L"zwei.bmp", 30, 20, GUID_ContainerFormatBmp),
                      source(L"drei.jpg", 17, 9, GUID_ContainerFormatJpeg)});
    writeFileBytes(sources.file(L"zwei.jpg"), "schon da");
    // Its status says nothing is there, but a link to outside the folder is.
    const SymbolicLink link(sources.file(L"eins.jpg"), target.file(L"weg.jpg"));
    ASSERT_TRUE(link.made());
    configure(sources.path());
    EXPECT_EQ(start(kInformation, L"3 von 3 Bild(ern) erfolgreich gespeichert."),
              L"3 von 3 Bild(ern) wurden erfolgreich konvertiert.");
    // The image handed out last, and the images finished.
    EXPECT_EQ(updates, (std::vector<StatusUpdate>{{L"Verarbeite 1 von 3: eins.png", 0},
                                                  {L"Verarbeite 2 von 3: zwei.bmp", 1},
                                                  {L"Verarbeite 3 von 3: drei.jpg", 2},
                                                  {L"3 von 3 Bild(ern) erfolgreich gespeichert.", 3}}));

    EXPECT_EQ(fileNamesIn(sources.path()), (std::vector<std::wstring>{L"drei (2).jpg", L"drei.jpg", L"eins (2).jpg",
                                                                     L"eins.png", L"zwei (2).jpg", L"zwei.bmp",
                                                                     L"zwei.jpg"}));
    EXPECT_EQ(readFileBytes(sources.file(L"zwei.jpg")), "schon da");
    EXPECT_TRUE(fileNamesIn(target.path()).empty());
}

TEST_F(BatchRunTest, SeveralWorkersWriteWhatOneWritesWithThePanelsQualityAndSize)
{
    // Same stems from three folders. A picture that fails once its file exists
    // frees its name for the next image of that stem; a missing one fails first
    // but is listed after it.
    addThroughDialog({source(L"a\\bild.png", 40, 30), source(L"a\\foto.png", 24, 16), source(L"a\\weg.png", 8, 8)});
    addThroughDialog({source(L"b\\foto.png", 36, 20), source(L"b\\bild.png", 28, 21)});
    addThroughDialog({source(L"c\\bild.png", 20, 44)});
    ASSERT_EQ(
        writeTestImage(sources.file(L"a\\foto.png"), GUID_ContainerFormatPng, 48, 32, GUID_WICPixelFormat24bppBGR),
        S_OK);
    std::filesystem::remove(sources.file(L"a\\weg.png"));
    // An exact size with an empty width: each image keeps its own width. The
    // failing picture keeps its recorded size, which makes its encoder fail.
    const std::pair<std::wstring, PixelSize> written[] = {
        {L"bild (2).jpg", {40, 16}}, {L"bild (3).jpg", {28, 16}}, {L"bild (4).jpg", {20, 16}}, {L"foto.jpg", {36, 16}}};
    moveTrackbar(kQualityTrackbar, 37);
    gBagWrite = swapBagWrite(recordBagWrite);
    std::vector<std::string> oneWorker;
    for (const unsigned workers : {1u, 3u}) {
        SCOPED_TRACE(testing::Message() << workers << " workers");
        setBatchWorkerCount(workers);
        const TempFolder folder;
        writeFileBytes(folder.file(L"bild.jpg"), "schon da");
        configure(folder.path(), kJpegRow, 4);
        SendMessageW(control(kKeepAspectCheck), BM_SETCHECK, BST_UNCHECKED, 0);
        typeInto(kWidthEdit, L"");
        typeInto(kHeightEdit, L"16");
        const std::wstring summary = start(kWarning, L"4 von 6 Bild(ern) erfolgreich gespeichert.");
        EXPECT_TRUE(summary.starts_with(L"4 von 6 Bild(ern) wurden erfolgreich konvertiert.\n\n"
                                        L"Nicht verarbeitet:\n\u2022 foto.png: ") &&
                    summary.find(L"\n\u2022 weg.png: ") != std::wstring::npos)
            << summary;
        EXPECT_EQ(SendMessageW(control(kProgressBar), PBM_GETPOS, 0, 0), 6);
        EXPECT_EQ(fileNamesIn(folder.path()), (std::vector<std::wstring>{L"bild (2).jpg", L"bild (3).jpg",
                                                                        L"bild (4).jpg", L"bild.jpg", L"foto.jpg"}));
        for (size_t i = 0; i < std::size(written); ++i) {
            const std::wstring path = folder.file(written[i].first);
            EXPECT_EQ(imageKind(path), std::make_pair(GUID_ContainerFormatJpeg, written[i].second));
            if (workers == 1) oneWorker.push_back(readFileBytes(path));
            else EXPECT_TRUE(readFileBytes(path) == oneWorker[i]) << path;
        }
    }
    swapBagWrite(gBagWrite);
    EXPECT_EQ(gWrittenQuality, 0.37f);
}

TEST_F(BatchRunTest, TheStartButtonOrTheSessionsEndCancelsAndEscOrTheCloseBoxAskFirst)
{
    addThroughDialog({source(L"a.png", 1500, 1000), source(L"b.png", 20, 10), source(L"c.png", 20, 10)});
    // With one worker, only the first image has been handed out when the cancel comes.
    const struct { UINT message; int id, answer, converted; unsigned workers; } cases[] = {
        {WM_COMMAND, kStartButton, IDNO, 1, 1},  // the button does not ask
        {WM_COMMAND, kStartButton, IDNO, 3, 3},  // every image was in progress: none left out
        {WM_COMMAND, IDCANCEL, IDNO, 3, 1},
        {WM_COMMAND, IDCANCEL, IDYES, 1, 1},
        {WM_CLOSE, 0, IDNO, 3, 1},
        {WM_QUERYENDSESSION, 0, IDNO, 1, 1},  // the session is asked to wait, and the run cancelled
        {WM_CLOSE, 0, IDYES, 1, 1},  // last: the window closes once the run has ended
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << " " << c.id << " answered " << c.answer);
        setBatchWorkerCount(c.workers);
        const TempFolder folder;
        configure(folder.path());
        messages.clear();
        questionAnswer = c.answer;
        click(kStartButton);
        const LRESULT answer =
            SendMessageW(window(), c.message, c.message == WM_COMMAND ? MAKEWPARAM(c.id, BN_CLICKED) : 0, 0);
        if (c.message == WM_QUERYENDSESSION) {
            EXPECT_EQ(answer, FALSE);
            SendMessageW(window(), WM_ENDSESSION, TRUE, 0);
            // Whole before the window has handled a single message of the worker's.
            EXPECT_EQ(imageKind(folder.file(L"a.jpg")).second, PixelSize(1500, 1000));
        }
        const std::wstring done = std::to_wstring(c.converted) + L" von 3 Bild(ern) ";
        EXPECT_EQ(finish(kInformation, done + L"erfolgreich gespeichert."),
                  done + L"wurden erfolgreich konvertiert." +
                      (c.converted == 1 ? L"\n\nAbgebrochen: 2 Bild(er) wurden nicht verarbeitet." : L""));
        const bool asked = c.id == IDCANCEL || c.message == WM_CLOSE;
        ASSERT_EQ(messages.size(), asked ? 2u : 1u);
        // Only a box of the question's type gets the scripted answer.
        EXPECT_TRUE(!asked || (messages[0].owner == window() && messages[0].caption == L"Lumora" &&
                                             messages[0].text == L"Soll die Konvertierung abgebrochen werden?"));
        EXPECT_EQ(fileNamesIn(folder.path()).size(), static_cast<size_t>(c.converted));
    }
    EXPECT_FALSE(IsWindow(window()));
}

TEST_F(BatchRunTest, TheWindowAnswersWhileALargeImageConvertsAndOnlyCancelIsOpenAndFocused)
{
    addThroughDialog({source(L"gross.jpg", 3000, 2000, GUID_ContainerFormatJpeg), source(L"klein.png", 20, 10)});
    configure(target.path(), kPngRow);
    SetFocus(control(kFormatCombo));
    updates.clear();
    click(kStartButton);
    // Esc and Enter reach the start button, which cancels now.
    EXPECT_EQ(GetFocus(), control(kStartButton));
    // Polled on the window's own thread, which goes on handling messages while a worker writes the file.
    const std::wstring large = target.file(L"gross.png");
    ASSERT_TRUE(pumpUntil([&] { return PostMessageW(window(), WM_NULL, 0, 0) && std::filesystem::exists(large); }));
    EXPECT_NE(readImageFacts(large).result, S_OK);
    EXPECT_EQ(text(kStartButton), L"Abbrechen");
    for (const ControlId id : {kAddImagesButton, kFormatCombo, kQualityTrackbar, kOpenFolderButton, kStartButton})
        EXPECT_EQ(enabled(id), id == kStartButton) << id;
    // Other commands are ignored while the run is busy.
    click(kClearImagesButton);
    finish(kInformation, L"2 von 2 Bild(ern) erfolgreich gespeichert.");
    EXPECT_EQ(imageList().size(), 2u);
    EXPECT_EQ(imageKind(large), std::make_pair(GUID_ContainerFormatPng, PixelSize{3000, 2000}));
    EXPECT_EQ(GetFocus(), control(kFormatCombo));
    // A worker per processor: the second image was handed out while the first was
    // converting (on one processor only once it was finished).
    ASSERT_GE(updates.size(), 2u);
    EXPECT_EQ(updates[1], StatusUpdate(L"Verarbeite 2 von 2: klein.png", std::thread::hardware_concurrency() < 2));
}
