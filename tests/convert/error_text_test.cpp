// Result codes turned into one-line failure texts.
#include <gtest/gtest.h>

#include <string>

#include "convert/error_text.h"

namespace {

// What the system itself says, untrimmed; empty when it has nothing.
std::wstring systemText(HRESULT code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = buffer ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    return text;
}

TEST(ErrorText, SystemTextWithoutTrailingLineBreaks)
{
    for (const HRESULT code : {E_ACCESSDENIED, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)}) {
        SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << static_cast<unsigned long>(code));
        const std::wstring raw = systemText(code);
        // System texts end in a line break, so the trimming is exercised.
        ASSERT_TRUE(raw.ends_with(L'\n'));
        const size_t kept = raw.find_last_not_of(L"\r\n ") + 1;
        ASSERT_GT(kept, 0u);
        EXPECT_EQ(errorTextFor(code), raw.substr(0, kept));
    }
}

TEST(ErrorText, CodeWithoutSystemTextIsUnknown)
{
    // Codes with the customer bit set are never described by the system.
    EXPECT_EQ(errorTextFor(static_cast<HRESULT>(0xE0041234)), L"Unbekannter Fehler");
}

}  // namespace
