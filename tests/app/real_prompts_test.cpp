// The production prompts once end to end: the real open dialog and the real
// message box, answered from a second thread the way a user would answer them.
#include <future>
#include <utility>

#include "app/user_prompts.h"
#include "imagelist/image_reading.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {
void pressButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Wine numbers some of a dialog's controls differently from Windows.
HWND dialogItem(HWND dialog, int wineId, int windowsId)
{
    HWND item = GetDlgItem(dialog, wineId);
    return item ? item : GetDlgItem(dialog, windowsId);
}

// Runs the script on a second thread, handing it the dialog with this caption
// once the test's thread shows it, while that thread sits in the dialog's modal
// loop; a timer wakes the script's waits. If the script fails, every window of
// the test's thread is told to cancel so that the test ends.
std::future<bool> answerDialog(const wchar_t* caption, std::function<bool(HWND dialog)> script)
{
    return std::async(std::launch::async, [uiThread = GetCurrentThreadId(), caption, script = std::move(script)] {
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
        HWND dialog = nullptr;
        const bool answered = pumpUntil([&] {
            dialog = FindWindowW(L"#32770", caption);
            return dialog && IsWindowVisible(dialog) && GetWindowThreadProcessId(dialog, nullptr) == uiThread;
        }) && script(dialog);
        KillTimer(nullptr, timer);
        if (!answered) EnumThreadWindows(uiThread, [](HWND w, LPARAM) { return pressButton(w, IDCANCEL), TRUE; }, 0);
        return answered;
    });
}
}  // namespace

TEST_F(MainWindowTest, RealOpenDialogAndMessageBoxAnswerTheUser)
{
    userPrompts() = systemPrompts();
    TempFolder folder;
    for (const wchar_t* name : {L"a.png", L"b.png"}) writeSmallPng(folder.file(name));
    writeFileBytes(folder.file(L"kaputt.png"), "kein Bild");
    std::future<bool> picked = answerDialog(L"Bilder ausw\u00e4hlen", [&](HWND dialog) {
        // The file-name field: edt1 on Wine, cmb13 on Windows.
        HWND name = dialogItem(dialog, 0x480, 0x47C);
        if (!name || GetWindow(dialog, GW_OWNER) != window()) return false;
        // A folder typed and confirmed is browsed into, then the names are relative to it.
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.path().c_str()));
        pressButton(dialog, IDOK);
        const bool arrived = pumpUntil([&] {
            wchar_t current[MAX_PATH]{};
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(current));
            return lstrcmpiW(current, folder.path().c_str()) == 0;
        });
        if (arrived) SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\"b.png\" \"kaputt.png\" \"a.png\""));
        pressButton(dialog, IDOK);
        return arrived;
    });
    // The file that is no image is reported in a box owned by the window.
    std::wstring warning;
    std::future<bool> warned = answerDialog(L"Lumora", [&](HWND box) {
        if (GetWindow(box, GW_OWNER) == window()) warning = readControlText(dialogItem(box, 100, 0xFFFF));
        pressButton(box, IDOK);
        return true;
    });
    click(kAddImagesButton);
    ASSERT_TRUE(picked.get());
    // The files are read on workers; the warning comes when the last is read.
    ASSERT_TRUE(pumpUntil([] { return !isReadingImages(); }));
    ASSERT_TRUE(warned.get());
    EXPECT_EQ(warning, L"1 Datei(en) konnten von Windows nicht als Bild gelesen werden.");
    // The images in the order typed.
    EXPECT_EQ(columnTexts(0), (std::vector<std::wstring>{L"b.png", L"a.png"}));
}
