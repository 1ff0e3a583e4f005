// WriteConsoleW takes the text as it is; anything else gets UTF-8 bytes, which
// a console's code page would otherwise garble.
#include "cli/console_writer.h"

#include <string>

ConsoleWriter::ConsoleWriter(DWORD standardHandle) : handle_(GetStdHandle(standardHandle))
{
    DWORD mode = 0;
    console_ = GetConsoleMode(handle_, &mode) != FALSE;
}

void ConsoleWriter::write(std::wstring_view text) const
{
    if (text.empty() || !handle_ || handle_ == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (console_) {
        WriteConsoleW(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const int length = static_cast<int>(text.size());
    std::string bytes(WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                        nullptr);
    WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void ConsoleWriter::writeLine(std::wstring_view text) const
{
    write(std::wstring(text) + L"\n");
}
