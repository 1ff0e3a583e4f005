// The loop step behind wWinMain's message loop.
#include "app/message_loop.h"

#include "app/controls.h"
#include "app/keyboard.h"

void dispatchLoopMessage(MSG& message)
{
    // IsDialogMessageW translates and dispatches what belongs to the main
    // window or its controls; messages of other windows come back.
    if (mainWindow() && IsDialogMessageW(mainWindow(), &message)) {
        if (message.message == WM_KEYDOWN) showDefaultButton();
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}
