// The batch run on the real window: its checks and messages, real images
// converted into a real folder and read back, the status line, the progress
// bar, the summary, and the lock that holds while the run drains the queue.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "convert/encoder_lookup.h"
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
constexpr int kJpegRow = 0;
constexpr int kWebpRow = 3;

// A text the status line was set to, with the progress position at that moment.
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

void expectJpeg(const std::wstring& path, PixelSize size)
{
    const ImageFacts facts = readImageFacts(path);
    EXPECT_EQ(facts.result, S_OK) << path;
    EXPECT_EQ(facts.containerFormat, GUID_ContainerFormatJpeg) << path;
    EXPECT_EQ((PixelSize{facts.width, facts.height}), size) << path;
}

class BatchRunTest : public MainWindowTest {
protected:
    std::wstring source(const std::wstring& name, std::uint32_t width, std::uint32_t height,
                        const GUID& container = GUID_ContainerFormatPng)
    {
        const std::wstring path = sources.file(name);
        EXPECT_EQ(writeTestImage(path, container, width, height, GUID_WICPixelFormat24bppBGR), S_OK);
        return path;
    }

    void add(const std::vector<std::wstring>& paths)
    {
        addThroughDialog(paths);
        ASSERT_EQ(imageList().size(), paths.size());
        messages.clear();
    }

    // Target folder, format row and scale mode as the user would set them.
    void configure(const std::wstring& folder, int formatRow = kJpegRow, int scaleMode = 0)
    {
        typeInto(kTargetFolderEdit, folder);
        selectCombo(kFormatCombo, formatRow);
        selectCombo(kScaleCombo, scaleMode);
    }

    // Clicks start and returns the text of the one box the click shows; by the
    // time the box shows, the panel is unlocked and the status line is final.
    std::wstring start(UINT type, const std::wstring& status)
    {
        messages.clear();
        bool unlocked = false;
        std::wstring statusAtBox;
        duringMessageBox = [&] {
            unlocked = !isPanelBusy() && enabled(kStartButton) && enabled(kAddImagesButton);
            statusAtBox = text(kStatusText);
        };
        click(kStartButton);
        duringMessageBox = nullptr;
        EXPECT_TRUE(unlocked);
        EXPECT_EQ(statusAtBox, status);
        // Caption and owner are showMessage's own business.
        EXPECT_EQ(messages.size(), 1u);
        if (messages.empty()) return L"";
        EXPECT_EQ(messages[0].type, type);
        return messages[0].text;
    }

    TempFolder sources;
    TempFolder target;
};
}  // namespace

TEST_F(BatchRunTest, ChecksListFolderAndDirectoryInOrder)
{
    const std::wstring aFile = target.file(L"belegt.txt");
    writeFileBytes(aFile, "eine Datei, kein Ordner");
    const std::wstring cannotCreate = L"Das Zielverzeichnis konnte nicht angelegt oder ge\u00f6ffnet werden.";
    struct Check {
        bool withImage;
        std::wstring folder, text;
        UINT type;
    };
    const Check checks[] = {
        // The list comes first, even when the folder is missing too.
        {false, L"", L"Bitte w\u00e4hle zuerst mindestens ein Bild aus.", kInformation},
        {true, L"", L"Bitte w\u00e4hle ein Zielverzeichnis aus.", kInformation},
        {true, aFile, cannotCreate, kError},
        {true, aFile + L"\\darunter", cannotCreate, kError},
    };
    const std::wstring image = source(L"bild.png", 16, 12);
    for (const Check& check : checks) {
        SCOPED_TRACE(testing::Message() << "folder \"" << check.folder << "\", image " << check.withImage);
        if (check.withImage && imageList().empty()) add({image});
        typeInto(kTargetFolderEdit, check.folder);
        EXPECT_EQ(start(check.type, L"Bereit."), check.text);
    }
    EXPECT_EQ(readFileBytes(aFile), "eine Datei, kein Ordner");
    EXPECT_EQ(fileNamesIn(target.path()), std::vector<std::wstring>{L"belegt.txt"});
}

TEST_F(BatchRunTest, NoEncoderForTheFormatIsReportedBeforeAnythingIsLocked)
{
    // Depends on the installed codecs: Wine and a plain Windows have no WebP encoder.
    GUID webp{};
    if (findEncoder(L".webp", webp)) GTEST_SKIP() << "a WebP encoder is installed here";

    add({source(L"bild.png", 16, 12)});
    const std::wstring folder = target.file(L"neu\\tief");
    configure(folder, kWebpRow);
    EXPECT_EQ(start(kWarning, L"Bereit."),
              L"F\u00fcr .webp ist auf diesem Windows-System kein Ausgabe-Encoder installiert.\n\n"
              L"Bitte w\u00e4hle ein anderes Zielformat oder installiere eine passende Windows-Codec-Erweiterung.");
    // The folder check comes before the encoder check, so the folder exists already.
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(fileNamesIn(folder).empty());
}

TEST_F(BatchRunTest, CleanRunWritesEveryImageWithoutOverwritingAnything)
{
    const std::vector<std::wstring> paths = {source(L"eins.png", 64, 48),
                                             source(L"zwei.bmp", 30, 20, GUID_ContainerFormatBmp),
                                             source(L"drei.png", 17, 9)};
    std::vector<std::string> sourceBytes;
    for (const std::wstring& path : paths) sourceBytes.push_back(readFileBytes(path));
    add(paths);
    writeFileBytes(target.file(L"zwei.jpg"), "schon da");
    // Its status says nothing is there, but a link to outside the folder is.
    const SymbolicLink link(target.file(L"eins.jpg"), sources.file(L"weg.jpg"));
    ASSERT_TRUE(link.made());
    configure(target.path());

    std::vector<StatusUpdate> updates;
    ASSERT_TRUE(SetWindowSubclass(control(kStatusText), recordStatus, 0, reinterpret_cast<DWORD_PTR>(&updates)));
    EXPECT_EQ(start(kInformation, L"3 von 3 Bild(ern) erfolgreich gespeichert."),
              L"3 von 3 Bild(ern) wurden erfolgreich konvertiert.");
    RemoveWindowSubclass(control(kStatusText), recordStatus, 0);
    EXPECT_EQ(updates, (std::vector<StatusUpdate>{{L"Verarbeite 1 von 3: eins.png", 0},
                                                  {L"Verarbeite 2 von 3: zwei.bmp", 1},
                                                  {L"Verarbeite 3 von 3: drei.png", 2},
                                                  {L"3 von 3 Bild(ern) erfolgreich gespeichert.", 3}}));
    EXPECT_EQ(SendMessageW(control(kProgressBar), PBM_GETRANGE, FALSE, 0), 3);

    ASSERT_EQ(fileNamesIn(target.path()),
              (std::vector<std::wstring>{L"drei.jpg", L"eins (2).jpg", L"zwei (2).jpg", L"zwei.jpg"}));
    EXPECT_EQ(readFileBytes(target.file(L"zwei.jpg")), "schon da");
    EXPECT_FALSE(std::filesystem::exists(sources.file(L"weg.jpg")));
    const std::pair<const wchar_t*, PixelSize> written[] = {
        {L"eins (2).jpg", {64, 48}}, {L"zwei (2).jpg", {30, 20}}, {L"drei.jpg", {17, 9}}};
    for (size_t i = 0; i < paths.size(); ++i) {
        expectJpeg(target.file(written[i].first), written[i].second);
        EXPECT_EQ(readFileBytes(paths[i]), sourceBytes[i]) << paths[i];
    }
}

TEST_F(BatchRunTest, FailuresAreListedUpToEightAndLeaveNoFiles)
{
    const auto name = [](int i) { return (i < 10 ? L"bild0" : L"bild") + std::to_wstring(i) + L".png"; };
    std::vector<std::wstring> paths;
    for (int i = 1; i <= 12; ++i) paths.push_back(source(name(i), 24, 16));
    add(paths);
    // bild03 and bild07 survive; bild12 is replaced by a larger picture, which
    // fails only once its output file has been created.
    for (int i = 0; i < 11; ++i) {
        if (i != 2 && i != 6) std::filesystem::remove(paths[i]);
    }
    ASSERT_EQ(writeTestImage(paths[11], GUID_ContainerFormatPng, 48, 32, GUID_WICPixelFormat24bppBGR), S_OK);
    configure(target.path());

    const std::wstring summary = start(kWarning, L"2 von 12 Bild(ern) erfolgreich gespeichert.");
    const std::wstring head = L"2 von 12 Bild(ern) wurden erfolgreich konvertiert.\n\nNicht verarbeitet:\n";
    ASSERT_TRUE(summary.starts_with(head)) << summary;
    size_t at = head.size();
    for (const int failed : {1, 2, 4, 5, 6, 8, 9, 10}) {
        // One line each: the name, then a reason from the system.
        const std::wstring prefix = L"\u2022 " + name(failed) + L": ";
        const size_t end = summary.find(L'\n', at);
        EXPECT_TRUE(summary.compare(at, prefix.size(), prefix) == 0 && end > at + prefix.size()) << summary;
        at = end == std::wstring::npos ? summary.size() : end + 1;
    }
    EXPECT_EQ(summary.substr(at), L"\u2022 \u2026 und 2 weitere");
    EXPECT_EQ(summary.find(L'\r'), std::wstring::npos);

    EXPECT_EQ(SendMessageW(control(kProgressBar), PBM_GETPOS, 0, 0), 12);
    EXPECT_EQ(fileNamesIn(target.path()), (std::vector<std::wstring>{L"bild03.jpg", L"bild07.jpg"}));
    EXPECT_EQ(imageList().size(), 12u);
}

TEST_F(BatchRunTest, CommandsAndClosingDuringARunAreIgnored)
{
    add({source(L"a.png", 20, 10), source(L"b.png", 20, 10)});
    configure(target.path());
    // Queued now, handled by the run's first drain while it is busy.
    for (const ControlId id : {kStartButton, kClearImagesButton})
        PostMessageW(window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control(id)));
    PostMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(start(kInformation, L"2 von 2 Bild(ern) erfolgreich gespeichert."),
              L"2 von 2 Bild(ern) wurden erfolgreich konvertiert.");

    // Handled inside the run, not left for later.
    for (const UINT posted : {WM_COMMAND, WM_CLOSE}) {
        MSG left{};
        EXPECT_FALSE(PeekMessageW(&left, window(), posted, posted, PM_NOREMOVE)) << posted;
    }
    ASSERT_TRUE(IsWindow(window()));
    EXPECT_EQ(imageList().size(), 2u);
    EXPECT_EQ(fileNamesIn(target.path()), (std::vector<std::wstring>{L"a.jpg", L"b.jpg"}));

    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window()));
}

TEST_F(BatchRunTest, RunScalesAsThePanelSaysAndUnlocksAsTheModeAllows)
{
    add({source(L"foto.png", 64, 48)});
    // A nested folder that does not exist yet is created with its parents.
    const std::wstring folder = target.file(L"neu\\tief");
    configure(folder, kJpegRow, 2);
    typeInto(kWidthEdit, L"40");
    EXPECT_EQ(start(kInformation, L"1 von 1 Bild(ern) erfolgreich gespeichert."),
              L"1 von 1 Bild(ern) wurden erfolgreich konvertiert.");
    expectJpeg(folder + L"\\foto.jpg", {40, 30});

    // A fixed width with the tick kept leaves percent and height off.
    for (const ControlId id : {kPercentEdit, kPercentTrackbar, kHeightEdit, kHeightTrackbar})
        EXPECT_FALSE(enabled(id)) << id;
    for (const ControlId id : {kWidthEdit, kWidthTrackbar, kKeepAspectCheck, kAddImagesButton,
                               kRemoveImagesButton, kClearImagesButton, kFormatCombo, kTargetFolderEdit,
                               kPickFolderButton, kScaleCombo, kQualityTrackbar, kStartButton, kOpenFolderButton}) {
        EXPECT_TRUE(enabled(id)) << id;
    }
}
