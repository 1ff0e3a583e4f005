// Files and folders dropped on the real window: a real drop handle sent as the shell
// sends it, which files of a folder count and in which order, real files read on
// worker threads while the window keeps going.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "imagelist/image_reading.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {
const ControlId kUnlocked[] = {kImageListView, kQualityLabel, kForecastText, kProgressBar, kStatusText, kSummaryText};

class AddPathsTest : public MainWindowTest {
protected:
    // Builds the drop in global memory as the shell does; the window releases it.
    void drop(const std::vector<std::wstring>& paths)
    {
        std::wstring list;
        for (const std::wstring& path : paths) list += path + L'\0';
        // Fixed memory: the handle is the pointer.
        const SIZE_T bytes = sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t);
        auto* files = static_cast<DROPFILES*>(GlobalAlloc(GPTR, bytes));
        *files = DROPFILES{sizeof(DROPFILES), {}, FALSE, TRUE};
        std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(files + 1));
        SendMessageW(window(), WM_DROPFILES, reinterpret_cast<WPARAM>(files), 0);
    }

    TempFolder folder;
};
}  // namespace

TEST_F(AddPathsTest, DropAddsFilesAsTheyAreAndFoldersAsTheImagesBelowThem)
{
    EXPECT_TRUE(GetWindowLongPtrW(window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    // Any extension counts for a dropped file; a folder gives only the files whose names end in an image
    // pattern's, in A-Z order without regard to case, where code-unit order would put "C" and "Unter" before "b".
    for (const wchar_t* name : {L"Baum\\Unter\\a.JPEG", L"Baum\\C.tiff", L"Baum\\b.Heic", L"Baum\\notiz.txt",
                                L"Baum\\x.jpg.txt", L"Baum\\x.jpgx", L"Baum\\jpg", L"Baum\\f.png\\x", L"bild.dat"})
        writeSmallPng(folder.file(name));
    writeFileBytes(folder.file(L"kaputt.jpg"), "kein Bild");
    drop({folder.file(L"Baum"), folder.file(L"bild.dat"), folder.file(L"kaputt.jpg"), folder.file(L"fehlt.png")});
    ASSERT_TRUE(pumpUntil([] { return !isReadingImages(); }));
    const std::wstring tree = folder.file(L"Baum\\");
    EXPECT_EQ(columnTexts(5), (std::vector<std::wstring>{tree + L"b.Heic", tree + L"C.tiff", tree + L"Unter\\a.JPEG",
                                                        folder.file(L"bild.dat")}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"2 Datei(en) konnten von Windows nicht als Bild gelesen werden.");

    // Closing the window while files are read ends the reading at once.
    click(kClearImagesButton);
    drop({folder.file(L"Baum")});
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(isReadingImages());
}

TEST_F(AddPathsTest, ReadingManyFilesShowsProgressWhileTheWindowKeepsAnswering)
{
    std::vector<std::wstring> paths;
    for (int i = 1000; i < 1400; ++i)
        paths.push_back(writeSmallPng(folder.file(L"Viele\\bild-" + std::to_wstring(i) + L".png")));
    SetWindowTextW(control(kStatusText), L"Fertig.");
    HWND progress = control(kProgressBar);
    SendMessageW(progress, PBM_SETPOS, 7, 0);

    SetFocus(control(kClearImagesButton));
    drop({folder.file(L"Viele")});
    EXPECT_EQ(GetFocus(), control(kImageListView));
    // The drop has returned while the folder is still being walked on a worker.
    // Every control that acts is locked; the list and what only shows stay as
    // they are; a command or a drop that comes now is ignored.
    for (int id = kImageListView; id <= kPercentTrackbar; ++id)
        EXPECT_EQ(enabled(ControlId(id)), std::ranges::count(kUnlocked, id) > 0) << id;
    click(kStartButton);
    drop({writeSmallPng(folder.file(L"ignoriert.png"))});
    ASSERT_TRUE(pumpUntil([&] { return text(kStatusText).starts_with(L"Lese "); }));
    EXPECT_EQ(text(kStatusText), L"Lese 1 von 400: bild-1000.png");
    click(kStartButton);
    std::vector<std::pair<LRESULT, std::wstring>> seen;  // whenever the window had handled what was waiting
    ASSERT_TRUE(pumpUntil([&] {
        if (isReadingImages()) seen.emplace_back(SendMessageW(progress, PBM_GETPOS, 0, 0), text(kStatusText));
        return !isReadingImages();
    }));
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const auto& s) { return s.first > 0; }));
    for (const auto& [position, status] : seen)
        EXPECT_EQ(status.substr(0, status.find(L':')), L"Lese " + std::to_wstring(position + 1) + L" von 400");

    EXPECT_EQ(columnTexts(5), paths);
    EXPECT_EQ(text(kStatusText), L"Fertig.");
    EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 7);
    EXPECT_TRUE(enabled(kAddImagesButton) && enabled(kStartButton) && enabled(kFormatCombo));
    EXPECT_FALSE(enabled(kWidthEdit));  // as the scale mode wants it
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(GetFocus(), control(kClearImagesButton));
}
