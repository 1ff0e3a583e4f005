// The three list buttons on the real window: real image files picked through a
// scripted open dialog, the list and its rows read back afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/user_prompts.h"
#include "imagelist/image_list.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {
constexpr UINT kWarning = MB_OK | MB_ICONWARNING;
constexpr int kLong = 10000;

class ImageListActionsTest : public MainWindowTest {
protected:
    // A small PNG in the test's folder; the width tells the files apart.
    std::wstring image(const wchar_t* name, std::uint32_t width)
    {
        const std::wstring path = folder.file(name);
        EXPECT_EQ(writeTestImage(path, GUID_ContainerFormatPng, width, 10, GUID_WICPixelFormat24bppBGR), S_OK);
        return path;
    }

    std::wstring notAnImage(const wchar_t* name)
    {
        const std::wstring path = folder.file(name);
        writeFileBytes(path, "kein Bild");
        return path;
    }

    std::vector<std::wstring> listedPaths() const
    {
        std::vector<std::wstring> paths;
        for (const ImageEntry& entry : imageList()) paths.push_back(entry.path);
        return paths;
    }

    // A click on the row as the mouse gives it, with Shift or Strg held as `keys` says.
    void clickRow(int row, WPARAM keys)
    {
        RECT bounds{};
        ListView_EnsureVisible(control(kImageListView), row, FALSE);
        ListView_GetItemRect(control(kImageListView), row, &bounds, LVIR_BOUNDS);
        const LPARAM point = MAKELPARAM(bounds.left + 20, bounds.top + 4);
        SendMessageW(control(kImageListView), WM_LBUTTONDOWN, MK_LBUTTON | keys, point);
        SendMessageW(control(kImageListView), WM_LBUTTONUP, keys, point);
    }

    TempFolder folder;
};
}  // namespace

TEST_F(ImageListActionsTest, OpenDialogIsAskedWithItsFixedSettings)
{
    OPENFILENAMEW seen{};
    std::wstring filters;
    bool bufferZeroed = false;
    userPrompts().openFileDialog = [&](OPENFILENAMEW& dialog) {
        seen = dialog;
        // The filter list up to its closing empty string, zeros kept.
        for (const wchar_t* part = dialog.lpstrFilter; *part; part += wcslen(part) + 1)
            filters += std::wstring(part) + L'\0';
        filters += L'\0';
        bufferZeroed = std::all_of(dialog.lpstrFile, dialog.lpstrFile + dialog.nMaxFile, [](wchar_t c) { return !c; });
        return OpenDialogOutcome{false, 0};
    };
    click(kAddImagesButton);

    EXPECT_EQ(seen.hwndOwner, window());
    EXPECT_EQ(seen.nMaxFile, 65536u);
    EXPECT_TRUE(bufferZeroed);
    EXPECT_EQ(seen.Flags, 0x00081A04u);
    EXPECT_STREQ(seen.lpstrTitle, L"Bilder ausw\u00e4hlen");
    // The literal's own terminator is the zero that ends the list.
    constexpr wchar_t kFilters[] =
        L"Bilddateien\0*.jpg;*.jpeg;*.jfif;*.png;*.webp;*.gif;*.tif;*.tiff;*.bmp;*.heic;*.heif;*.avif\0"
        L"Alle Dateien\0*.*\0";
    EXPECT_EQ(filters, std::wstring(kFilters, std::size(kFilters)));
}

TEST_F(ImageListActionsTest, AddsOneFileAndSeveralInTheDialogsOrder)
{
    const std::wstring single = image(L"einzeln.png", 41);
    addThroughDialog({single});
    ASSERT_EQ(listedPaths(), std::vector<std::wstring>{single});

    // The dialog lists the names in its own order, which is kept.
    const std::vector<std::wstring> several = {image(L"c.png", 31), image(L"a.png", 32), image(L"b.png", 33)};
    addThroughDialog(several);
    EXPECT_EQ(listedPaths(), (std::vector<std::wstring>{single, several[0], several[1], several[2]}));
    EXPECT_EQ(columnTexts(0), (std::vector<std::wstring>{L"einzeln.png", L"c.png", L"a.png", L"b.png"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ImageListActionsTest, DuplicatesDifferingInCaseAreSkippedSilentlyKeepingTheFirst)
{
    // A long list of "bild-<i>.png" whose files do not exist: a listed path is never probed again.
    for (int i = 0; i < kLong; ++i) imageList().append({folder.file(L"bild-" + std::to_wstring(i) + L".png")});
    const std::wstring first = image(L"a.png", 20);
    image(L"b.png", 21);
    addThroughDialog({first});

    // The upper-cased folder names the same files: "A.PNG" and "BILD-42.PNG" are
    // listed already, and "B.PNG" repeats "b.png" from earlier in the same pick.
    std::wstring upperFolder = folder.path();
    CharUpperW(upperFolder.data());
    const std::wstring laterB = upperFolder + L"\\b.png";
    addThroughDialog({upperFolder + L"\\A.PNG", upperFolder + L"\\BILD-42.PNG", laterB, upperFolder + L"\\B.PNG"});
    EXPECT_EQ(imageList().size(), kLong + 2u);
    EXPECT_EQ(imageList()[kLong + 1].path, laterB);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ImageListActionsTest, UnreadableFilesAreCountedAndReportedAfterTheRebuild)
{
    const std::wstring first = image(L"eins.png", 20);
    const std::wstring third = image(L"drei.png", 22);
    std::vector<std::wstring> rowsBehindTheBox;
    duringMessageBox = [&] { rowsBehindTheBox = columnTexts(0); };
    addThroughDialog({first, notAnImage(L"kaputt.png"), third});
    EXPECT_EQ(listedPaths(), (std::vector<std::wstring>{first, third}));
    EXPECT_EQ(rowsBehindTheBox, (std::vector<std::wstring>{L"eins.png", L"drei.png"}));

    addThroughDialog({notAnImage(L"text.jpg"), notAnImage(L"leer.bmp")});
    EXPECT_EQ(listedPaths(), (std::vector<std::wstring>{first, third}));
    ASSERT_EQ(messages.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(messages[i].text,
                  std::to_wstring(i + 1) + L" Datei(en) konnten von Windows nicht als Bild gelesen werden.");
        EXPECT_EQ(messages[i].type, kWarning);
    }
}

TEST_F(ImageListActionsTest, CancelledOrFailedDialogChangesNothing)
{
    const std::wstring first = image(L"eins.png", 20);
    addThroughDialog({first});
    // Only a selection too large for the buffer is worth a word to the user.
    for (const DWORD error : {DWORD{0}, DWORD{FNERR_INVALIDFILENAME}, DWORD{FNERR_BUFFERTOOSMALL}}) {
        SCOPED_TRACE(error);
        messages.clear();
        openAnswers.push_back({{}, error});
        click(kAddImagesButton);
        EXPECT_TRUE(openAnswers.empty());
        EXPECT_EQ(listedPaths(), std::vector<std::wstring>{first});
        ASSERT_EQ(messages.size(), error == FNERR_BUFFERTOOSMALL ? 1u : 0u);
        if (!messages.empty()) {
            EXPECT_EQ(messages[0].text,
                      L"Die Auswahl ist zu gro\u00df. Bitte w\u00e4hle weniger Dateien auf einmal aus.");
            EXPECT_EQ(messages[0].type, kWarning);
        }
    }
}

TEST_F(ImageListActionsTest, RemovesExactlyTheSelectedRowsAndClearsWithoutAsking)
{
    // Removing opens no file, so the long list's files need not exist.
    for (int i = 0; i < kLong; ++i) imageList().append({folder.file(L"bild-" + std::to_wstring(i) + L".png")});
    const std::wstring real = image(L"echt.png", 20);
    addThroughDialog({real});
    click(kRemoveImagesButton);  // nothing selected yet
    EXPECT_EQ(rowCount(), kLong + 1);

    clickRow(9000, 0);
    clickRow(9004, MK_SHIFT);
    clickRow(kLong, MK_CONTROL);
    click(kRemoveImagesButton);
    click(kRemoveImagesButton);  // the rebuild left nothing selected
    EXPECT_EQ(imageList().size(), kLong - 5u);
    for (const auto& [row, name] :
         {std::pair{8999, L"bild-8999.png"}, {9000, L"bild-9005.png"}, {kLong - 6, L"bild-9999.png"}})
        EXPECT_EQ(cell(row, 0), name) << row;
    // A removed image, and after clearing any image, can be added again.
    addThroughDialog({real});
    EXPECT_EQ(cell(kLong - 5, 0), L"echt.png");
    // Typing a name's first letters selects its row, as in any list.
    SendMessageW(control(kImageListView), WM_CHAR, L'e', 1);
    EXPECT_EQ(ListView_GetNextItem(control(kImageListView), -1, LVNI_SELECTED), kLong - 5);
    click(kClearImagesButton);
    EXPECT_EQ(text(kSummaryText), L"Keine Bilder ausgew\u00e4hlt");
    addThroughDialog({real});
    EXPECT_EQ(rowCount(), 1);
    EXPECT_TRUE(messages.empty());
}
