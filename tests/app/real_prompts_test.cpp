// The production prompts once end to end: the real message box and the real
// open dialog, answered from a second thread the way a user would answer them.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <future>
#include <string>
#include <utility>

#include "app/controls.h"
#include "app/user_prompts.h"
#include "imagelist/image_list.h"
#include "imagelist/image_reading.h"
#include "support/main_window_fixture.h"
#include "support/wic_files.h"

namespace {
std::wstring className(HWND hwnd)
{
    wchar_t buffer[64]{};
    GetClassNameW(hwnd, buffer, 64);
    return buffer;
}

void pressButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Polls from the helper thread, for up to 20 s; the test thread is inside a modal loop meanwhile.
bool waitFor(const std::function<bool()>& condition)
{
    for (int attempt = 0; attempt < 400; ++attempt) {
        if (condition()) return true;
        Sleep(50);
    }
    return false;
}

// The visible dialog of the given thread with this caption, once it shows, or null.
HWND waitForDialog(DWORD thread, const std::wstring& caption)
{
    std::pair<const std::wstring*, HWND> search{&caption, nullptr};
    const auto find = [](HWND hwnd, LPARAM lParam) {
        auto* s = reinterpret_cast<std::pair<const std::wstring*, HWND>*>(lParam);
        if (IsWindowVisible(hwnd) && className(hwnd) == L"#32770" && readControlText(hwnd) == *s->first)
            s->second = hwnd;
        return TRUE;
    };
    waitFor([&] {
        EnumThreadWindows(thread, find, reinterpret_cast<LPARAM>(&search));
        return search.second != nullptr;
    });
    return search.second;
}

// Runs the script on a second thread while this one sits in the prompt's modal loop.
// If the script gets stuck, every dialog of this thread is cancelled so that
// the test ends.
std::future<bool> answerFromSecondThread(std::function<bool(DWORD uiThread)> script)
{
    return std::async(std::launch::async, [uiThread = GetCurrentThreadId(), script = std::move(script)] {
        if (script(uiThread)) return true;
        const auto cancel = [](HWND hwnd, LPARAM) {
            if (className(hwnd) == L"#32770") pressButton(hwnd, IDCANCEL);
            return TRUE;
        };
        EnumThreadWindows(uiThread, cancel, 0);
        return false;
    });
}

class RealPromptsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        userPrompts() = systemPrompts();
    }
};
}  // namespace

TEST_F(RealPromptsTest, MessageBoxIsOwnedByTheWindowAndShowsTheText)
{
    HWND owner = nullptr;
    std::wstring shownText;
    std::future<bool> answered = answerFromSecondThread([&](DWORD uiThread) {
        HWND box = waitForDialog(uiThread, L"Lumora");
        if (!box) return false;
        owner = GetWindow(box, GW_OWNER);
        // The text is the one static control that has any.
        const auto readText = [](HWND child, LPARAM lParam) {
            if (className(child) == L"Static" && !readControlText(child).empty())
                *reinterpret_cast<std::wstring*>(lParam) = readControlText(child);
            return TRUE;
        };
        EnumChildWindows(box, readText, reinterpret_cast<LPARAM>(&shownText));
        pressButton(box, IDOK);
        return true;
    });
    showMessage(L"Bitte w\u00e4hle ein Zielverzeichnis aus.", MB_ICONINFORMATION);
    ASSERT_TRUE(answered.get());
    EXPECT_EQ(owner, window());
    EXPECT_EQ(shownText, L"Bitte w\u00e4hle ein Zielverzeichnis aus.");
}

TEST_F(RealPromptsTest, OpenDialogAddsTheFilesTheUserTypes)
{
    TempFolder folder;
    for (const wchar_t* name : {L"a.png", L"b.png", L"c.png"}) {
        ASSERT_EQ(writeTestImage(folder.file(name), GUID_ContainerFormatPng, 24, 16, GUID_WICPixelFormat24bppBGR),
                  S_OK);
    }
    std::future<bool> answered = answerFromSecondThread([&](DWORD uiThread) {
        HWND dialog = waitForDialog(uiThread, L"Bilder ausw\u00e4hlen");
        // Windows names the file-name field cmb13, Wine edt1.
        HWND name = dialog ? GetDlgItem(dialog, 0x480) : nullptr;
        if (!name && dialog) name = GetDlgItem(dialog, 0x47C);
        if (!name || GetWindow(dialog, GW_OWNER) != window()) return false;

        // A folder typed and confirmed is browsed into, then the names are relative to it.
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.path().c_str()));
        pressButton(dialog, IDOK);
        const bool arrived = waitFor([&] {
            wchar_t current[MAX_PATH]{};
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(current));
            return lstrcmpiW(current, folder.path().c_str()) == 0;
        });
        if (arrived) {
            SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\"a.png\" \"b.png\""));
            pressButton(dialog, IDOK);
        }
        return arrived;
    });
    click(kAddImagesButton);
    ASSERT_TRUE(answered.get());
    ASSERT_TRUE(pumpUntil([] { return !isReadingImages(); }));

    ASSERT_EQ(imageList().size(), 2u);
    // The dialog may spell the folder in its own case.
    EXPECT_EQ(lstrcmpiW(imageList()[0].path.c_str(), folder.file(L"a.png").c_str()), 0) << imageList()[0].path;
    EXPECT_EQ(lstrcmpiW(imageList()[1].path.c_str(), folder.file(L"b.png").c_str()), 0) << imageList()[1].path;
    EXPECT_EQ(rowCount(), 2);
}
