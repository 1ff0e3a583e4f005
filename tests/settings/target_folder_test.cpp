// The target folder on the real window: its default under the Pictures folder,
// the folder picker's answer and opening the folder in the shell.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <optional>
#include <string>

#include "app/user_prompts.h"
#include "support/main_window_fixture.h"

namespace {
class TargetFolderTest : public MainWindowTest {};
}  // namespace

TEST_F(TargetFolderTest, DefaultIsLumoraInsideThePicturesFolder)
{
    wchar_t pictures[MAX_PATH]{};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures), S_OK);
    const std::wstring folder = pictures;
    ASSERT_FALSE(folder.empty());
    const bool endsInSeparator = folder.back() == L'\\' || folder.back() == L'/';
    EXPECT_EQ(text(kTargetFolderEdit), folder + (endsInSeparator ? L"" : L"\\") + L"Lumora");
    EXPECT_EQ(text(kTargetFolderEdit).substr(text(kTargetFolderEdit).size() - 7), L"\\Lumora");
}

TEST_F(TargetFolderTest, PickerAnswerReplacesTheTextAndCancelKeepsIt)
{
    HWND owner = nullptr;
    std::wstring startFolder;
    std::optional<std::wstring> answer;
    userPrompts().pickFolder = [&](HWND o, const std::wstring& start) {
        owner = o;
        startFolder = start;
        return answer;
    };
    typeInto(kTargetFolderEdit, L"C:\\gibt es nicht");
    click(kPickFolderButton);
    EXPECT_EQ(owner, window());
    EXPECT_EQ(startFolder, L"C:\\gibt es nicht");
    EXPECT_EQ(text(kTargetFolderEdit), L"C:\\gibt es nicht");

    // Taken exactly as chosen: nothing appended, no separator added.
    answer = L"D:\\Fotos\\Ausgabe";
    click(kPickFolderButton);
    EXPECT_EQ(text(kTargetFolderEdit), L"D:\\Fotos\\Ausgabe");

    typeInto(kTargetFolderEdit, L"");
    answer = L"E:\\";
    click(kPickFolderButton);
    EXPECT_EQ(startFolder, L"");
    EXPECT_EQ(text(kTargetFolderEdit), L"E:\\");
    EXPECT_TRUE(messages.empty());
}

TEST_F(TargetFolderTest, OpensTheFolderOnlyWhenOneIsNamed)
{
    typeInto(kTargetFolderEdit, L"");
    click(kOpenFolderButton);
    EXPECT_TRUE(openedFolders.empty());

    typeInto(kTargetFolderEdit, L"C:\\noch nicht angelegt\\Lumora");
    click(kOpenFolderButton);
    ASSERT_EQ(openedFolders.size(), 1u);
    EXPECT_EQ(openedFolders[0], L"C:\\noch nicht angelegt\\Lumora");
    EXPECT_EQ(text(kTargetFolderEdit), L"C:\\noch nicht angelegt\\Lumora");
    EXPECT_TRUE(messages.empty());
}
