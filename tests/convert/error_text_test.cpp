// Result codes turned into one-line failure texts.
#include <gtest/gtest.h>

#include <string>

#include "convert/error_text.h"

TEST(ErrorText, SystemTextOnOneLineOrUnknown)
{
    // The system's texts end in a line break, which a failure line must not carry.
    for (const HRESULT code : {E_ACCESSDENIED, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)}) {
        const std::wstring text = errorTextFor(code);
        EXPECT_FALSE(text.empty() || text.back() == L' ' || text.find_first_of(L"\r\n") != std::wstring::npos)
            << '"' << text << '"';
    }
    // Each code has its own text.
    EXPECT_NE(errorTextFor(E_ACCESSDENIED), errorTextFor(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)));
    // Codes with the customer bit set are never described by the system.
    EXPECT_EQ(errorTextFor(static_cast<HRESULT>(0xE0041234)), L"Unbekannter Fehler");
}
