// The batch run on the real window: its checks and messages, real images
// converted into a real folder and read back, the status line, the progress
// bar, the summary, and the lock that holds while the run drains the queue.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <string>
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

// What the status line was set to during a run, with the progress position at that moment.
struct StatusUpdate {
    std::wstring text;
    int progress;
};

// Subclasses the status line for as long as it lives.
class StatusRecorder {
public:
    explicit StatusRecorder(HWND status) : status_(status)
    {
        instance() = this;
        original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(status_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StatusRecorder::procedure)));
    }
    ~StatusRecorder()
    {
        SetWindowLongPtrW(status_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        instance() = nullptr;
    }
    StatusRecorder(const StatusRecorder&) = delete;
    StatusRecorder& operator=(const StatusRecorder&) = delete;

    std::vector<StatusUpdate> updates;

private:
    static StatusRecorder*& instance()
    {
        static StatusRecorder* current = nullptr;
        return current;
    }
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        StatusRecorder* self = instance();
        if (message == WM_SETTEXT) {
            const int progress = static_cast<int>(SendMessageW(control(kProgressBar), PBM_GETPOS, 0, 0));
            self->updates.push_back({reinterpret_cast<const wchar_t*>(lParam), progress});
        }
        return CallWindowProcW(self->original_, hwnd, message, wParam, lParam);
    }

    HWND status_;
    WNDPROC original_ = nullptr;
};

class BatchRunTest : public MainWindowTest {
protected:
    std::wstring source(const wchar_t* name, std::uint32_t width, std::uint32_t height,
                        const GUID& container = GUID_ContainerFormatPng)
    {
        const std::wstring path = sources.file(name);
        EXPECT_EQ(writeTestImage(path, container, width, height, GUID_WICPixelFormat24bppBGR), S_OK);
        return path;
    }

    void add(const std::vector<std::wstring>& paths)
    {
        openAnswers.push_back({paths});
        click(kAddImagesButton);
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

    void expectOneMessage(const std::wstring& text, UINT type)
    {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, text);
        EXPECT_EQ(messages[0].caption, L"Lumora");
        EXPECT_EQ(messages[0].type, type);
        EXPECT_EQ(messages[0].owner, window());
    }

    int progress(UINT message, WPARAM wParam = 0) const
    {
        return static_cast<int>(SendMessageW(control(kProgressBar), message, wParam, 0));
    }

    TempFolder sources;
    TempFolder target;
};

bool isDirectory(const std::wstring& path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(path), error);
}
}  // namespace

TEST_F(BatchRunTest, ChecksListFolderAndDirectoryInOrder)
{
    const std::wstring aFile = target.file(L"belegt.txt");
    writeFileBytes(aFile, "eine Datei, kein Ordner");
    struct Check {
        bool withImage;
        std::wstring folder;
        const wchar_t* text;
        UINT type;
    };
    const Check checks[] = {
        // The list comes first, even when the folder is missing too.
        {false, L"", L"Bitte w\u00e4hle zuerst mindestens ein Bild aus.", kInformation},
        {false, target.path(), L"Bitte w\u00e4hle zuerst mindestens ein Bild aus.", kInformation},
        {true, L"", L"Bitte w\u00e4hle ein Zielverzeichnis aus.", kInformation},
        {true, aFile, L"Das Zielverzeichnis konnte nicht angelegt oder ge\u00f6ffnet werden.", kError},
        {true, aFile + L"\\darunter", L"Das Zielverzeichnis konnte nicht angelegt oder ge\u00f6ffnet werden.", kError},
    };
    const std::wstring image = source(L"bild.png", 16, 12);
    for (const Check& check : checks) {
        SCOPED_TRACE(testing::Message() << "folder \"" << check.folder << "\", image " << check.withImage);
        if (check.withImage && imageList().empty()) add({image});
        typeInto(kTargetFolderEdit, check.folder);
        messages.clear();
        bool lockedDuringBox = true;
        duringMessageBox = [&] { lockedDuringBox = isPanelBusy() || !enabled(kStartButton); };
        click(kStartButton);
        expectOneMessage(check.text, check.type);
        EXPECT_FALSE(lockedDuringBox);
        EXPECT_EQ(text(kStatusText), L"Bereit.");
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
    bool lockedDuringBox = true;
    duringMessageBox = [&] { lockedDuringBox = isPanelBusy() || !enabled(kStartButton); };
    click(kStartButton);
    expectOneMessage(L"F\u00fcr .webp ist auf diesem Windows-System kein Ausgabe-Encoder installiert.\n\n"
                     L"Bitte w\u00e4hle ein anderes Zielformat oder installiere eine passende "
                     L"Windows-Codec-Erweiterung.",
                     kWarning);
    EXPECT_FALSE(lockedDuringBox);
    EXPECT_EQ(text(kStatusText), L"Bereit.");
    // The folder check comes before the encoder check, so the folder exists already.
    EXPECT_TRUE(isDirectory(folder));
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
    configure(target.path());

    StatusRecorder recorder(control(kStatusText));
    bool unlockedBeforeSummary = false;
    std::wstring statusAtSummary;
    duringMessageBox = [&] {
        unlockedBeforeSummary = !isPanelBusy() && enabled(kStartButton) && enabled(kAddImagesButton);
        statusAtSummary = text(kStatusText);
    };
    click(kStartButton);

    expectOneMessage(L"3 von 3 Bild(ern) wurden erfolgreich konvertiert.", kInformation);
    EXPECT_TRUE(unlockedBeforeSummary);
    EXPECT_EQ(statusAtSummary, L"3 von 3 Bild(ern) erfolgreich gespeichert.");
    EXPECT_EQ(text(kStatusText), L"3 von 3 Bild(ern) erfolgreich gespeichert.");
    ASSERT_EQ(recorder.updates.size(), 4u);
    const wchar_t* const progressTexts[] = {L"Verarbeite 1 von 3: eins.png", L"Verarbeite 2 von 3: zwei.bmp",
                                            L"Verarbeite 3 von 3: drei.png"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(recorder.updates[i].text, progressTexts[i]);
        EXPECT_EQ(recorder.updates[i].progress, i);
    }
    EXPECT_EQ(progress(PBM_GETRANGE, TRUE), 0);
    EXPECT_EQ(progress(PBM_GETRANGE, FALSE), 3);
    EXPECT_EQ(progress(PBM_GETPOS), 3);

    ASSERT_EQ(fileNamesIn(target.path()),
              (std::vector<std::wstring>{L"drei.jpg", L"eins.jpg", L"zwei (2).jpg", L"zwei.jpg"}));
    EXPECT_EQ(readFileBytes(target.file(L"zwei.jpg")), "schon da");
    const std::pair<const wchar_t*, PixelSize> written[] = {
        {L"eins.jpg", {64, 48}}, {L"zwei (2).jpg", {30, 20}}, {L"drei.jpg", {17, 9}}};
    for (const auto& [name, size] : written) {
        const ImageFacts facts = readImageFacts(target.file(name));
        EXPECT_EQ(facts.result, S_OK) << name;
        EXPECT_EQ(facts.containerFormat, GUID_ContainerFormatJpeg) << name;
        EXPECT_EQ(facts.width, size.width) << name;
        EXPECT_EQ(facts.height, size.height) << name;
    }
    for (size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(readFileBytes(paths[i]), sourceBytes[i]) << i;

    // A second run of the same list writes beside the first one's files.
    messages.clear();
    click(kStartButton);
    EXPECT_EQ(fileNamesIn(target.path()).size(), 7u);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(target.file(L"zwei (3).jpg"))));
}

TEST_F(BatchRunTest, FailuresAreListedUpToEightAndLeaveNoFiles)
{
    std::vector<std::wstring> paths;
    for (int i = 1; i <= 12; ++i) {
        const std::wstring name = L"bild" + std::wstring(i < 10 ? L"0" : L"") + std::to_wstring(i) + L".png";
        paths.push_back(source(name.c_str(), 24, 16));
    }
    add(paths);
    // bild03 and bild07 survive; bild12 is replaced by a larger picture, which
    // fails only once its output file has been created.
    for (int i = 0; i < 11; ++i) {
        if (i != 2 && i != 6) std::filesystem::remove(std::filesystem::path(paths[i]));
    }
    ASSERT_EQ(writeTestImage(paths[11], GUID_ContainerFormatPng, 48, 32, GUID_WICPixelFormat24bppBGR), S_OK);
    configure(target.path());
    click(kStartButton);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, kWarning);
    const std::wstring& summary = messages[0].text;
    const std::wstring head = L"2 von 12 Bild(ern) wurden erfolgreich konvertiert.\n\nNicht verarbeitet:\n";
    ASSERT_EQ(summary.substr(0, head.size()), head);
    std::vector<std::wstring> lines;
    for (size_t start = head.size(), end; start < summary.size(); start = end + 1) {
        end = summary.find(L'\n', start);
        if (end == std::wstring::npos) end = summary.size();
        lines.push_back(summary.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), 9u);
    const wchar_t* const failed[] = {L"bild01", L"bild02", L"bild04", L"bild05",
                                     L"bild06", L"bild08", L"bild09", L"bild10"};
    for (int i = 0; i < 8; ++i) {
        const std::wstring prefix = L"\u2022 " + std::wstring(failed[i]) + L".png: ";
        EXPECT_EQ(lines[i].substr(0, prefix.size()), prefix) << i;
        EXPECT_GT(lines[i].size(), prefix.size()) << i;
        EXPECT_EQ(lines[i].find(L'\r'), std::wstring::npos) << i;
    }
    EXPECT_EQ(lines[8], L"\u2022 \u2026 und 2 weitere");
    EXPECT_EQ(summary.back(), L'e');

    EXPECT_EQ(text(kStatusText), L"2 von 12 Bild(ern) erfolgreich gespeichert.");
    EXPECT_EQ(progress(PBM_GETPOS), 12);
    EXPECT_EQ(fileNamesIn(target.path()), (std::vector<std::wstring>{L"bild03.jpg", L"bild07.jpg"}));
    EXPECT_EQ(imageList().size(), 12u);
}

TEST_F(BatchRunTest, CommandsAndClosingDuringARunAreIgnoredButSlidersFlow)
{
    add({source(L"a.png", 20, 10), source(L"b.png", 20, 10)});
    configure(target.path());
    // Queued now, handled by the run's first drain while it is busy.
    PostMessageW(window(), WM_COMMAND, MAKEWPARAM(kStartButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(kStartButton)));
    PostMessageW(window(), WM_COMMAND, MAKEWPARAM(kClearImagesButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(kClearImagesButton)));
    PostMessageW(window(), WM_CLOSE, 0, 0);
    SendMessageW(control(kWidthTrackbar), TBM_SETPOS, TRUE, 777);
    PostMessageW(window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 777),
                 reinterpret_cast<LPARAM>(control(kWidthTrackbar)));
    click(kStartButton);

    // Handled inside the run, not left for later.
    for (const UINT posted : {WM_COMMAND, WM_CLOSE, WM_HSCROLL}) {
        MSG left{};
        EXPECT_FALSE(PeekMessageW(&left, window(), posted, posted, PM_NOREMOVE)) << posted;
    }
    ASSERT_TRUE(IsWindow(window()));
    expectOneMessage(L"2 von 2 Bild(ern) wurden erfolgreich konvertiert.", kInformation);
    EXPECT_EQ(imageList().size(), 2u);
    EXPECT_EQ(fileNamesIn(target.path()), (std::vector<std::wstring>{L"a.jpg", L"b.jpg"}));
    EXPECT_EQ(text(kWidthEdit), L"777");

    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window()));
}

TEST_F(BatchRunTest, RunScalesAsThePanelSaysAndUnlocksAsTheModeAllows)
{
    struct Case {
        int mode;
        const wchar_t* width;
        const wchar_t* percent;
        PixelSize expected;
        bool percentEnabled, widthEnabled, checkboxEnabled;
    };
    const Case cases[] = {
        {1, L"1920", L"50", {32, 24}, true, false, false},
        {2, L"40", L"100", {40, 30}, false, true, true},
        {0, L"40", L"50", {64, 48}, false, false, false},
    };
    add({source(L"foto.png", 64, 48)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        // A nested folder that does not exist yet is created with its parents.
        TempFolder parent;
        const std::wstring folder = parent.file(L"neu\\tief");
        configure(folder, kJpegRow, c.mode);
        typeInto(kWidthEdit, c.width);
        typeInto(kPercentEdit, c.percent);
        messages.clear();
        click(kStartButton);
        expectOneMessage(L"1 von 1 Bild(ern) wurden erfolgreich konvertiert.", kInformation);
        const ImageFacts facts = readImageFacts(folder + L"\\foto.jpg");
        EXPECT_EQ(facts.width, c.expected.width);
        EXPECT_EQ(facts.height, c.expected.height);
        EXPECT_EQ(cell(0, 3), std::to_wstring(c.expected.width) + L" \u00d7 " + std::to_wstring(c.expected.height));

        EXPECT_EQ(enabled(kPercentEdit), c.percentEnabled);
        EXPECT_EQ(enabled(kPercentTrackbar), c.percentEnabled);
        EXPECT_EQ(enabled(kWidthEdit), c.widthEnabled);
        EXPECT_EQ(enabled(kWidthTrackbar), c.widthEnabled);
        EXPECT_FALSE(enabled(kHeightEdit));
        EXPECT_EQ(enabled(kKeepAspectCheck), c.checkboxEnabled);
        for (const ControlId id : {kAddImagesButton, kRemoveImagesButton, kClearImagesButton, kFormatCombo,
                                   kTargetFolderEdit, kPickFolderButton, kScaleCombo, kQualityTrackbar, kStartButton,
                                   kOpenFolderButton}) {
            EXPECT_TRUE(enabled(id)) << id;
        }
    }
}
