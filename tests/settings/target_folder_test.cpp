// The target folder on the real window: its default under the Pictures folder,
// the folder picker's answer and opening only an existing folder in the shell.
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "app/user_prompts.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "support/wic_files.h"

TEST_F(MainWindowTest, TargetFolderIsLumoraInPicturesUntilAChoiceReplacesItAndOpensOnlyWhenItExists)
{
    wchar_t pictures[MAX_PATH]{};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures), S_OK);
    const std::wstring byDefault = std::wstring(pictures) + L"\\Lumora";
    EXPECT_EQ(text(kTargetFolderEdit), byDefault);

    std::vector<std::wstring> starts;
    userPrompts().pickFolder = [&](HWND owner, const std::wstring& start) {
        starts.push_back(owner == window() ? start : L"another owner");
        return starts.size() == 1 ? std::nullopt : std::optional<std::wstring>(L"D:\\Fotos\\Ausgabe");
    };
    click(kPickFolderButton);
    EXPECT_EQ(text(kTargetFolderEdit), byDefault);
    click(kPickFolderButton);
    // Taken exactly as chosen: nothing appended, no separator added.
    EXPECT_EQ(text(kTargetFolderEdit), L"D:\\Fotos\\Ausgabe");
    EXPECT_EQ(starts, std::vector<std::wstring>(2, byDefault));

    // Only an existing folder reaches the shell.
    TempFolder folder;
    wchar_t program[MAX_PATH]{};
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    writeFileBytes(folder.file(L"Brief.txt"), "Hallo");
    // A program, a document, nothing, a folder not yet made, and a real folder.
    for (const std::wstring& typed : {std::wstring(program), folder.file(L"Brief.txt"), std::wstring(),
                                      folder.file(L"noch nicht angelegt"), folder.path()}) {
        typeInto(kTargetFolderEdit, typed);
        click(kOpenFolderButton);
    }
    EXPECT_EQ(openedFolders, std::vector<std::wstring>{folder.path()});
    EXPECT_TRUE(messages.empty());
}
