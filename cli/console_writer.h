// Where the console program's text goes: UTF-16 straight to a console, UTF-8
// to a file or pipe, so that any name arrives whole either way.
#pragma once

#include <windows.h>

#include <string_view>

class ConsoleWriter {
public:
    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    explicit ConsoleWriter(DWORD standardHandle);
    void write(std::wstring_view text) const;
    void writeLine(std::wstring_view text) const;

private:
    HANDLE handle_;
    bool console_;
};
