// The three list buttons on the real window: real image files picked through a
// scripted open dialog, the list and its rows read back afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <string>
#include <vector>

#include "app/user_prompts.h"
#include "imagelist/image_list.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {
constexpr wchar_t kUnreadableWarning[] = L" Datei(en) konnten von Windows nicht als Bild gelesen werden.";

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

    void pick(const std::vector<std::wstring>& paths)
    {
        openAnswers.push_back({paths});
        click(kAddImagesButton);
    }

    std::vector<std::wstring> listedPaths() const
    {
        std::vector<std::wstring> paths;
        for (const ImageEntry& entry : imageList()) paths.push_back(entry.path);
        return paths;
    }

    std::vector<std::wstring> rowNames() const
    {
        std::vector<std::wstring> names;
        for (int row = 0; row < rowCount(); ++row) names.push_back(cell(row, 0));
        return names;
    }

    // A rebuild rewrites every row, so a cell changed behind the list's back
    // tells whether the view was rebuilt.
    void markFirstRowStale() { setListViewCell(control(kImageListView), 0, 0, L"veraltet"); }

    void select(int row)
    {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageW(control(kImageListView), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }

    TempFolder folder;
};

std::wstring upperCase(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towupper(c); });
    return text;
}

// The filter list up to its closing empty string, zeros kept.
std::wstring filterList(const wchar_t* filters)
{
    std::wstring list;
    for (const wchar_t* part = filters; *part; part += wcslen(part) + 1) list += std::wstring(part) + L'\0';
    return list + L'\0';
}
}  // namespace

TEST_F(ImageListActionsTest, OpenDialogIsAskedWithItsFixedSettings)
{
    OPENFILENAMEW seen{};
    std::wstring filters;
    bool bufferZeroed = false;
    userPrompts().openFileDialog = [&](OPENFILENAMEW& dialog) {
        seen = dialog;
        filters = filterList(dialog.lpstrFilter);
        bufferZeroed = std::all_of(dialog.lpstrFile, dialog.lpstrFile + dialog.nMaxFile,
                                   [](wchar_t c) { return c == L'\0'; });
        return OpenDialogOutcome{false, 0};
    };
    click(kAddImagesButton);

    EXPECT_EQ(seen.lStructSize, sizeof(OPENFILENAMEW));
    EXPECT_EQ(seen.hwndOwner, window());
    EXPECT_EQ(seen.nMaxFile, 65536u);
    EXPECT_TRUE(bufferZeroed);
    EXPECT_EQ(seen.Flags, 0x00081A04u);
    EXPECT_EQ(seen.Flags, static_cast<DWORD>(OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST |
                                             OFN_PATHMUSTEXIST | OFN_HIDEREADONLY));
    EXPECT_STREQ(seen.lpstrTitle, L"Bilder ausw\u00e4hlen");
    EXPECT_EQ(seen.nFilterIndex, 1u);
    // The literal's own terminator is the zero that ends the list.
    constexpr wchar_t kFilters[] =
        L"Bilddateien\0*.jpg;*.jpeg;*.jfif;*.png;*.webp;*.gif;*.tif;*.tiff;*.bmp;*.heic;*.heif;*.avif\0"
        L"Alle Dateien\0*.*\0";
    EXPECT_EQ(filters, std::wstring(kFilters, std::size(kFilters)));
    EXPECT_EQ(seen.lpstrInitialDir, nullptr);
    EXPECT_EQ(seen.lpstrDefExt, nullptr);
    EXPECT_EQ(seen.lpfnHook, nullptr);
    EXPECT_EQ(seen.lpstrCustomFilter, nullptr);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ImageListActionsTest, AddsOneFileAndSeveralInTheDialogsOrder)
{
    const std::wstring single = image(L"einzeln.png", 41);
    pick({single});
    ASSERT_EQ(listedPaths(), std::vector<std::wstring>{single});
    EXPECT_EQ(imageList()[0].width, 41u);
    EXPECT_EQ(imageList()[0].height, 10u);
    EXPECT_EQ(cell(0, 0), L"einzeln.png");
    EXPECT_EQ(cell(0, 5), single);

    // The dialog lists the names in its own order, which is kept.
    const std::vector<std::wstring> several = {image(L"c.png", 31), image(L"a.png", 32), image(L"b.png", 33)};
    pick(several);
    EXPECT_EQ(listedPaths(), (std::vector<std::wstring>{single, several[0], several[1], several[2]}));
    EXPECT_EQ(rowNames(), (std::vector<std::wstring>{L"einzeln.png", L"c.png", L"a.png", L"b.png"}));
    EXPECT_EQ(cell(2, 1), L"32 \u00d7 10");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ImageListActionsTest, DuplicatesDifferingInCaseAreSkippedSilentlyKeepingTheFirst)
{
    const std::wstring first = image(L"a.png", 20);
    image(L"b.png", 21);
    pick({first});

    // The upper-cased folder names the same files: "A.PNG" is listed already,
    // and "B.PNG" repeats "b.png" from earlier in the same pick.
    const std::wstring upperFolder = upperCase(folder.path());
    const std::wstring laterB = upperFolder + L"\\b.png";
    pick({upperFolder + L"\\A.PNG", laterB, upperFolder + L"\\B.PNG"});
    EXPECT_EQ(listedPaths(), (std::vector<std::wstring>{first, laterB}));
    EXPECT_EQ(rowCount(), 2);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ImageListActionsTest, UnreadableFilesAreCountedAndReportedAfterTheRebuild)
{
    const std::wstring first = image(L"eins.png", 20);
    const std::wstring broken = notAnImage(L"kaputt.png");
    const std::wstring third = image(L"drei.png", 22);
    std::vector<std::wstring> rowsBehindTheBox;
    duringMessageBox = [&] { rowsBehindTheBox = rowNames(); };
    pick({first, broken, third});

    EXPECT_EQ(listedPaths(), (std::vector<std::wstring>{first, third}));
    EXPECT_EQ(rowsBehindTheBox, (std::vector<std::wstring>{L"eins.png", L"drei.png"}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, std::wstring(L"1") + kUnreadableWarning);
    EXPECT_EQ(messages[0].caption, L"Lumora");
    EXPECT_EQ(messages[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(messages[0].owner, window());

    // Only unreadable files: the view is rebuilt all the same, unchanged.
    markFirstRowStale();
    pick({notAnImage(L"text.jpg"), notAnImage(L"leer.bmp")});
    EXPECT_EQ(listedPaths(), (std::vector<std::wstring>{first, third}));
    EXPECT_EQ(cell(0, 0), L"eins.png");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, std::wstring(L"2") + kUnreadableWarning);
}

TEST_F(ImageListActionsTest, CancelledOrFailedDialogChangesNothing)
{
    const std::wstring first = image(L"eins.png", 20);
    pick({first});
    markFirstRowStale();

    struct Case {
        DWORD error;
        bool warned;
    };
    // Only a selection too large for the buffer is worth a word to the user.
    const Case cases[] = {{0, false}, {FNERR_INVALIDFILENAME, false}, {FNERR_BUFFERTOOSMALL, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        messages.clear();
        openAnswers.push_back({{}, c.error});
        click(kAddImagesButton);
        EXPECT_TRUE(openAnswers.empty());
        EXPECT_EQ(listedPaths(), std::vector<std::wstring>{first});
        // Not rebuilt: the stale cell is still there.
        EXPECT_EQ(cell(0, 0), L"veraltet");
        ASSERT_EQ(messages.size(), c.warned ? 1u : 0u);
        if (c.warned) {
            EXPECT_EQ(messages[0].text,
                      L"Die Auswahl ist zu gro\u00df. Bitte w\u00e4hle weniger Dateien auf einmal aus.");
            EXPECT_EQ(messages[0].caption, L"Lumora");
            EXPECT_EQ(messages[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
            EXPECT_EQ(messages[0].owner, window());
        }
    }
}

TEST_F(ImageListActionsTest, RemovesTheSelectedRowsAndKeepsTheRestInOrder)
{
    std::vector<std::wstring> paths;
    for (const wchar_t* name : {L"0.png", L"1.png", L"2.png", L"3.png", L"4.png"})
        paths.push_back(image(name, 20));
    pick(paths);
    ASSERT_EQ(rowCount(), 5);

    // Nothing selected: the list stays, the view is rebuilt.
    markFirstRowStale();
    click(kRemoveImagesButton);
    EXPECT_EQ(listedPaths(), paths);
    EXPECT_EQ(cell(0, 0), L"0.png");

    select(1);
    select(3);
    click(kRemoveImagesButton);
    EXPECT_EQ(listedPaths(), (std::vector<std::wstring>{paths[0], paths[2], paths[4]}));
    EXPECT_EQ(rowNames(), (std::vector<std::wstring>{L"0.png", L"2.png", L"4.png"}));
    EXPECT_EQ(text(kSummaryText).substr(0, 8), L"3 Bilder");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ImageListActionsTest, ClearingEmptiesTheListWithoutAsking)
{
    pick({image(L"a.png", 20), image(L"b.png", 21)});
    ASSERT_EQ(rowCount(), 2);
    click(kClearImagesButton);
    EXPECT_TRUE(imageList().empty());
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(text(kSummaryText), L"Keine Bilder ausgew\u00e4hlt");

    // An empty list is cleared the same way: the view still shows its empty state.
    SetWindowTextW(control(kSummaryText), L"veraltet");
    click(kClearImagesButton);
    EXPECT_EQ(text(kSummaryText), L"Keine Bilder ausgew\u00e4hlt");
    EXPECT_EQ(text(kForecastText), L"Gr\u00f6\u00dfenprognose: Bitte zuerst Bilder ausw\u00e4hlen.");
    EXPECT_TRUE(messages.empty());
}
