// One turn of the message loop, shared by the program and the tests: keys that
// move between controls or press the default button go to the main window's
// dialog handling, everything else is translated and dispatched.
#pragma once

#include <windows.h>

void dispatchLoopMessage(MSG& message);
