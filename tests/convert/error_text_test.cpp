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
    const HRESULT codes[] = {E_ACCESSDENIED, E_OUTOFMEMORY, E_INVALIDARG,
                             HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), HRESULT_FROM_WIN32(ERROR_DISK_FULL)};
    bool anyTrimmed = false;
    for (const HRESULT code : codes) {
        SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << static_cast<unsigned long>(code));
        const std::wstring raw = systemText(code);
        ASSERT_FALSE(raw.empty());
        const std::wstring text = errorTextFor(code);
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text, L"Unbekannter Fehler");
        // The system text itself, only its tail of line breaks and blanks gone.
        EXPECT_EQ(raw.compare(0, text.size(), text), 0);
        EXPECT_EQ(raw.find_first_not_of(L"\r\n ", text.size()), std::wstring::npos);
        EXPECT_EQ(std::wstring(L"\r\n ").find(text.back()), std::wstring::npos);
        anyTrimmed = anyTrimmed || raw.size() > text.size();
    }
    // System texts end in a line break, so the trimming was exercised.
    EXPECT_TRUE(anyTrimmed);
}

TEST(ErrorText, CodeWithoutSystemTextIsUnknown)
{
    // Codes with the customer bit set are never described by the system.
    EXPECT_EQ(errorTextFor(static_cast<HRESULT>(0xE0041234)), L"Unbekannter Fehler");
    EXPECT_EQ(errorTextFor(static_cast<HRESULT>(0xA1230001)), L"Unbekannter Fehler");
}

}  // namespace
