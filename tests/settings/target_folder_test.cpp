// The target folder on the real window: its default under the Pictures folder,
// the folder picker's answer and opening the folder in the shell.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "app/user_prompts.h"
#include "support/main_window_fixture.h"

using TargetFolderTest = MainWindowTest;

TEST_F(TargetFolderTest, DefaultIsLumoraInsideThePicturesFolder)
{
    wchar_t pictures[MAX_PATH]{};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures), S_OK);
    EXPECT_EQ(text(kTargetFolderEdit), std::wstring(pictures) + L"\\Lumora");
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
    EXPECT_TRUE(messages.empty());
}

TEST_F(TargetFolderTest, OpensTheFolderOnlyWhenOneIsNamed)
{
    typeInto(kTargetFolderEdit, L"");
    click(kOpenFolderButton);
    EXPECT_TRUE(openedFolders.empty());

    typeInto(kTargetFolderEdit, L"C:\\noch nicht angelegt\\Lumora");
    click(kOpenFolderButton);
    EXPECT_EQ(openedFolders, std::vector<std::wstring>{L"C:\\noch nicht angelegt\\Lumora"});
    EXPECT_TRUE(messages.empty());
}
