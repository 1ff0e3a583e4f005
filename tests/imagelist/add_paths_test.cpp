// Files and folders dropped on the real window: a real drop handle sent as the
// shell sends it, real files read on worker threads while the window keeps going.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "imagelist/image_list.h"
#include "imagelist/image_reading.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {
class AddPathsTest : public MainWindowTest {
protected:
    // Builds the drop in global memory as the shell does; the window releases it.
    void drop(const std::vector<std::wstring>& paths)
    {
        std::wstring list;
        for (const std::wstring& path : paths) list += path + L'\0';
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
        auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(files + 1));
        GlobalUnlock(memory);
        SendMessageW(window(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }

    std::vector<std::wstring> rowPaths() const
    {
        std::vector<std::wstring> paths;
        for (int row = 0; row < rowCount(); ++row) paths.push_back(cell(row, 5));
        return paths;
    }

    LRESULT progress(UINT message) const { return SendMessageW(control(kProgressBar), message, FALSE, 0); }

    TempFolder folder;
};

constexpr wchar_t kUnreadable[] = L" Datei(en) konnten von Windows nicht als Bild gelesen werden.";
}  // namespace

TEST_F(AddPathsTest, DropAddsFilesAsTheyAreAndFoldersAsTheImagesBelowThem)
{
    EXPECT_TRUE(GetWindowLongPtrW(window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const std::wstring listed = writeSmallPng(folder.file(L"schon.png"));
    addThroughDialog({listed});
    const std::wstring tree = folder.file(L"Baum");
    for (const wchar_t* name : {L"Baum\\Unter\\a.png", L"Baum\\C.PNG", L"Baum\\b.png"})
        writeSmallPng(folder.file(name));
    writeFileBytes(folder.file(L"Baum\\notiz.txt"), "kein Bild, aber auch kein Muster");
    const std::wstring anyExtension = writeSmallPng(folder.file(L"bild.dat"));
    writeFileBytes(folder.file(L"kaputt.jpg"), "kein Bild");

    drop({tree, anyExtension, folder.file(L"SCHON.PNG"), folder.file(L"kaputt.jpg"), folder.file(L"fehlt.png"),
          folder.file(L"BILD.DAT")});
    waitUntilRead();
    EXPECT_EQ(rowPaths(), (std::vector<std::wstring>{listed, folder.file(L"Baum\\b.png"), folder.file(L"Baum\\C.PNG"),
                                                     folder.file(L"Baum\\Unter\\a.png"), anyExtension}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"2" + std::wstring(kUnreadable));
}

TEST_F(AddPathsTest, ReadingManyFilesShowsProgressWhileTheWindowKeepsAnswering)
{
    std::vector<std::wstring> names;
    for (int i = 1000; i < 1400; ++i) {
        names.push_back(L"bild-" + std::to_wstring(i) + L".png");
        writeSmallPng(folder.file(L"Viele\\" + names.back()));
    }
    SetWindowTextW(control(kStatusText), L"Fertig.");
    SendMessageW(control(kProgressBar), PBM_SETRANGE32, 0, 10);
    SendMessageW(control(kProgressBar), PBM_SETPOS, 7, 0);
    const StatusRecorder status;

    drop({folder.file(L"Viele")});
    // The drop has returned: the files are read while the window goes on.
    EXPECT_EQ(text(kStatusText), L"Lese 1 von 400: bild-1000.png");
    EXPECT_EQ(progress(PBM_GETRANGE), 400);
    for (const ControlId id : {kAddImagesButton, kRemoveImagesButton, kClearImagesButton, kStartButton, kFormatCombo,
                               kTargetFolderEdit, kQualityTrackbar})
        EXPECT_FALSE(enabled(id)) << id;
    drop({writeSmallPng(folder.file(L"ignoriert.png"))});
    waitUntilRead();

    const std::vector<StatusUpdate>& shown = status.updates;
    ASSERT_GE(shown.size(), 3u) << "the status line never moved between the first file and the end";
    for (size_t i = 1; i + 1 < shown.size(); ++i) {
        EXPECT_GT(shown[i].second, shown[i - 1].second);
        EXPECT_EQ(shown[i].first.substr(0, shown[i].first.find(L':')),
                  L"Lese " + std::to_wstring(shown[i].second + 1) + L" von 400");
    }
    EXPECT_EQ(shown.back().first, L"Fertig.");
    EXPECT_EQ(progress(PBM_GETRANGE), 10);
    EXPECT_EQ(progress(PBM_GETPOS), 7);
    std::vector<std::wstring> rows;
    for (int row = 0; row < rowCount(); ++row) rows.push_back(cell(row, 0));
    EXPECT_EQ(rows, names);
    EXPECT_TRUE(enabled(kAddImagesButton) && enabled(kStartButton) && enabled(kFormatCombo));
    EXPECT_FALSE(enabled(kWidthEdit));  // as the scale mode wants it
    EXPECT_TRUE(messages.empty());
}

TEST_F(AddPathsTest, ClosingTheWindowWhileReadingEndsTheReading)
{
    drop({writeSmallPng(folder.file(L"a.png")), writeSmallPng(folder.file(L"b.png"))});
    ASSERT_TRUE(isReadingImages());
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window()));
    EXPECT_FALSE(isReadingImages());
    EXPECT_TRUE(imageList().empty());
}
