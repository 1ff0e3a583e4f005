// Turns a result code into the one-line text a failure list shows.
#pragma once

#include <windows.h>

#include <string>

// The system's text for the code without trailing line breaks and blanks, or
// "Unbekannter Fehler" when the system has none.
std::wstring errorTextFor(HRESULT result);
