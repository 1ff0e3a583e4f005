// The three list buttons and the list's keys on the real window: real image files
// picked through a scripted open dialog, the list and its rows read back afterwards.
#include <windows.h>

#include <cderr.h>
#include <commctrl.h>

#include <cwchar>
#include <filesystem>
#include <iterator>
#include <tuple>

#include "app/user_prompts.h"
#include "forecast/byte_size.h"
#include "imagelist/image_list.h"
#include "settings/settings_panel.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {
using Texts = std::vector<std::wstring>;
const std::wstring kUnreadable = L" Datei(en) konnten von Windows nicht als Bild gelesen werden.";

class ImageListActionsTest : public MainWindowTest {
protected:
    std::wstring notAnImage(const wchar_t* name)
    {
        writeFileBytes(folder.file(name), "kein Bild");
        return folder.file(name);
    }

    TempFolder folder;
};
}  // namespace

TEST_F(ImageListActionsTest, OpenDialogIsAskedWithItsFixedSettingsAndOnlyATooLargeSelectionIsReported)
{
    OPENFILENAMEW seen{};
    std::wstring filters;
    DWORD failure = 0;
    userPrompts().openFileDialog = [&](OPENFILENAMEW& dialog) {
        seen = dialog;
        // The filter list up to its closing empty string, zeros kept.
        filters.clear();
        for (const wchar_t* part = dialog.lpstrFilter; *part; part += wcslen(part) + 1)
            filters += std::wstring(part) + L'\0';
        filters += L'\0';
        return OpenDialogOutcome{false, failure};
    };
    imageList().append({L"C:\\Fotos\\a.jpg"});
    for (const DWORD error : {DWORD{0}, DWORD{FNERR_INVALIDFILENAME}, DWORD{FNERR_BUFFERTOOSMALL}}) {
        failure = error;
        click(kAddImagesButton);
        EXPECT_EQ(imageList().size(), 1u) << error;
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"Die Auswahl ist zu gro\u00df. Bitte w\u00e4hle weniger Dateien auf einmal aus.");
    EXPECT_EQ(messages[0].type, UINT{MB_ICONWARNING});
    EXPECT_EQ(seen.hwndOwner, window());
    EXPECT_EQ(seen.nMaxFile, 65536u);
    EXPECT_STREQ(seen.lpstrTitle, L"Bilder ausw\u00e4hlen");
    // The literal's own terminator is the zero that ends the list.
    constexpr wchar_t kFilters[] =
        L"Bilddateien\0*.jpg;*.jpeg;*.jfif;*.png;*.webp;*.gif;*.tif;*.tiff;*.bmp;*.heic;*.heif;*.avif\0"
        L"Alle Dateien\0*.*\0";
    EXPECT_EQ(filters, std::wstring(kFilters, std::size(kFilters)));
}

TEST_F(ImageListActionsTest, AddsInTheDialogsOrderSkipsListedPathsAndReportsUnreadableFilesAfterTheRebuild)
{
    // Listed though missing: read again, it would count as unreadable.
    imageList().append({folder.file(L"fehlt.png")});
    const std::wstring photo = folder.file(L"Urlaub.JPG");
    ASSERT_EQ(writeTestImage(photo, GUID_ContainerFormatJpeg, 400, 300, GUID_WICPixelFormat24bppBGR), S_OK);
    addThroughDialog({photo});
    // The upper-cased folder names the same files: "FEHLT.PNG" and "URLAUB.JPG" are listed
    // already, and "KAPUTT.PNG" repeats "kaputt.png" from earlier in the same pick: read once, it counts once.
    std::wstring upper = folder.path();
    CharUpperW(upper.data());
    const std::wstring graphic = upper + L"\\logo.png";
    ASSERT_EQ(writeTestImage(graphic, GUID_ContainerFormatPng, 12345, 2, GUID_WICPixelFormat32bppBGRA), S_OK);
    Texts rowsBehindTheBox;
    duringMessageBox = [&] { rowsBehindTheBox = columnTexts(0); };
    addThroughDialog({upper + L"\\FEHLT.PNG", graphic, notAnImage(L"kaputt.png"), upper + L"\\URLAUB.JPG",
                      upper + L"\\KAPUTT.PNG", writeSmallPng(folder.file(L"a.png"))});
    EXPECT_EQ(rowsBehindTheBox, (Texts{L"fehlt.png", L"Urlaub.JPG", L"logo.png", L"a.png"}));
    const std::tuple<int, int, std::wstring> cells[] = {
        {1, 1, L"400 \u00d7 300"}, {1, 3, L"400 \u00d7 300"}, {1, 5, photo}, {2, 1, L"12345 \u00d7 2"}, {2, 5, graphic},
        {1, 2, formatByteSize(static_cast<double>(std::filesystem::file_size(photo)))},
    };
    for (const auto& [row, column, text] : cells) EXPECT_EQ(cell(row, column), text) << row << ", " << column;
    EXPECT_TRUE(cell(1, 4).starts_with(L"ca. ")) << cell(1, 4);
    EXPECT_TRUE(text(kSummaryText).starts_with(L"4 Bilder  \u2022  Original ")) << text(kSummaryText);

    addThroughDialog({notAnImage(L"text.jpg"), notAnImage(L"leer.bmp")});
    EXPECT_EQ(rowCount(), 4);
    ASSERT_EQ(messages.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(messages[i].text, std::to_wstring(i + 1) + kUnreadable);
        EXPECT_EQ(messages[i].type, UINT{MB_ICONWARNING});
    }
}

TEST_F(ImageListActionsTest, RemovesTheSelectedRowsByButtonOrEntfSelectsAllByStrgAAndClearsWithoutAsking)
{
    // Removing opens no file, so the long list's files need not exist.
    constexpr int kLong = 10000;
    for (int i = 0; i < kLong; ++i) imageList().append({folder.file(L"bild-" + std::to_wstring(i) + L".png")});
    const std::wstring real = writeSmallPng(folder.file(L"echt.png"));
    addThroughDialog({real});
    click(kRemoveImagesButton);  // nothing selected yet
    EXPECT_EQ(rowCount(), kLong + 1);
    for (const int row : {9000, 9001, 9002, 9003, 9004, kLong})
        ListView_SetItemState(control(kImageListView), row, LVIS_SELECTED, LVIS_SELECTED);
    click(kRemoveImagesButton);
    click(kRemoveImagesButton);  // the rebuild left nothing selected
    EXPECT_EQ(imageList().size(), kLong - 5u);
    for (const auto& [row, name] :
         {std::pair{8999, L"bild-8999.png"}, {9000, L"bild-9005.png"}, {kLong - 6, L"bild-9999.png"}})
        EXPECT_EQ(cell(row, 0), name) << row;
    // A removed image, and after clearing any image, can be added again.
    addThroughDialog({real});
    EXPECT_EQ(cell(kLong - 5, 0), L"echt.png");
    // Typing a name's first letters selects its row, as in any list; Entf removes it, but not during a run.
    SetFocus(control(kImageListView));
    SendMessageW(control(kImageListView), WM_CHAR, L'e', 1);
    pressKey('A');  // without Strg only a search
    EXPECT_EQ(ListView_GetNextItem(control(kImageListView), -1, LVNI_SELECTED), kLong - 5);
    EXPECT_EQ(ListView_GetSelectedCount(control(kImageListView)), 1u);
    setPanelBusy(true);
    pressKey(VK_DELETE);
    setPanelBusy(false);
    EXPECT_EQ(rowCount(), kLong - 4);
    pressKey(VK_DELETE);
    EXPECT_EQ(rowCount(), kLong - 5);
    pressKey('A', {VK_CONTROL});
    EXPECT_EQ(ListView_GetSelectedCount(control(kImageListView)), UINT{kLong - 5});
    click(kClearImagesButton);
    EXPECT_EQ(text(kSummaryText), L"Keine Bilder ausgew\u00e4hlt");
    addThroughDialog({real});
    EXPECT_EQ(rowCount(), 1);
    EXPECT_TRUE(messages.empty());
}
