// The production prompts once end to end: the real message box and the real
// open dialog, answered from a second thread the way a user would answer them.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/user_prompts.h"
#include "imagelist/image_list.h"
#include "support/main_window_fixture.h"
#include "support/wic_files.h"

namespace {
constexpr DWORD kPatience = 20000;
constexpr DWORD kPollInterval = 50;

std::wstring windowText(HWND hwnd)
{
    wchar_t buffer[1024]{};
    GetWindowTextW(hwnd, buffer, 1024);
    return buffer;
}

std::wstring className(HWND hwnd)
{
    wchar_t buffer[64]{};
    GetClassNameW(hwnd, buffer, 64);
    return buffer;
}

// The dialog of the given thread with this caption, or null.
HWND findDialog(DWORD thread, const std::wstring& caption)
{
    struct Search {
        const std::wstring& caption;
        HWND found;
    } search{caption, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND hwnd, LPARAM lParam) {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (IsWindowVisible(hwnd) && className(hwnd) == L"#32770" && windowText(hwnd) == s->caption) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls from the helper thread; the test thread is inside a modal loop meanwhile.
bool waitFor(const std::function<bool()>& condition)
{
    for (DWORD waited = 0; waited < kPatience; waited += kPollInterval) {
        if (condition()) return true;
        Sleep(kPollInterval);
    }
    return false;
}

void pressButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Answers the dialogs of one thread from a second one. If the script gets
// stuck, every dialog of the thread is cancelled so that the test ends.
class DialogAnswerer {
public:
    DialogAnswerer(DWORD uiThread, std::function<bool()> script)
        : worker_([this, uiThread, script = std::move(script)] {
              succeeded_ = script();
              if (!succeeded_) cancelDialogsOf(uiThread);
          })
    {
    }
    ~DialogAnswerer()
    {
        if (worker_.joinable()) worker_.join();
    }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    bool finish()
    {
        worker_.join();
        worker_ = std::thread();
        return succeeded_;
    }

private:
    static void cancelDialogsOf(DWORD thread)
    {
        EnumThreadWindows(
            thread,
            [](HWND hwnd, LPARAM) {
                if (className(hwnd) == L"#32770") pressButton(hwnd, IDCANCEL);
                return TRUE;
            },
            0);
    }

    std::atomic<bool> succeeded_ = false;
    std::thread worker_;
};

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
    const DWORD uiThread = GetCurrentThreadId();
    HWND owner = nullptr;
    std::wstring shownText;
    DialogAnswerer answerer(uiThread, [&] {
        HWND box = nullptr;
        if (!waitFor([&] { return (box = findDialog(uiThread, L"Lumora")) != nullptr; })) return false;
        owner = GetWindow(box, GW_OWNER);
        // The text is the one static control that has any.
        EnumChildWindows(
            box,
            [](HWND child, LPARAM lParam) {
                if (className(child) == L"Static" && !windowText(child).empty())
                    *reinterpret_cast<std::wstring*>(lParam) = windowText(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&shownText));
        pressButton(box, IDOK);
        return true;
    });
    showMessage(L"Bitte w\u00e4hle ein Zielverzeichnis aus.", MB_ICONINFORMATION);
    ASSERT_TRUE(answerer.finish());
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
    const DWORD uiThread = GetCurrentThreadId();
    DialogAnswerer answerer(uiThread, [&] {
        HWND dialog = nullptr;
        if (!waitFor([&] { return (dialog = findDialog(uiThread, L"Bilder ausw\u00e4hlen")) != nullptr; }))
            return false;
        // Windows names the file-name field cmb13, Wine edt1.
        HWND name = GetDlgItem(dialog, 0x480);
        if (!name) name = GetDlgItem(dialog, 0x47C);
        if (!name || GetWindow(dialog, GW_OWNER) != window()) return false;

        // A folder typed and confirmed is browsed into, then the names are relative to it.
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.path().c_str()));
        pressButton(dialog, IDOK);
        const bool arrived = waitFor([&] {
            wchar_t current[MAX_PATH]{};
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(current));
            return lstrcmpiW(current, folder.path().c_str()) == 0;
        });
        if (!arrived) return false;
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\"a.png\" \"b.png\""));
        pressButton(dialog, IDOK);
        return true;
    });
    click(kAddImagesButton);
    ASSERT_TRUE(answerer.finish());

    ASSERT_EQ(imageList().size(), 2u);
    std::vector<std::wstring> names;
    for (const ImageEntry& entry : imageList()) {
        EXPECT_EQ(lstrcmpiW(entry.path.substr(0, folder.path().size()).c_str(), folder.path().c_str()), 0);
        names.push_back(entry.path.substr(entry.path.find_last_of(L'\\') + 1));
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.png", L"b.png"}));
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(imageList()[0].width, 24u);
}
