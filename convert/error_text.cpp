// System message texts for result codes.
#include "convert/error_text.h"

#include <memory>

namespace {
struct LocalFreeDeleter {
    void operator()(wchar_t* text) const { LocalFree(text); }
};
}  // namespace

std::wstring errorTextFor(HRESULT result)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
        static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeDeleter> owned(buffer);
    if (!owned) return L"Unbekannter Fehler";
    std::wstring text(owned.get(), length);
    // System texts end in a line break; a failure line must stay on one line.
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return text;
}
