// Byte counts as shown in the list and the forecast lines.
#include <gtest/gtest.h>

#include <utility>

#include "forecast/byte_size.h"

TEST(FormatByteSize, ChoosesTheUnitBeforeRounding)
{
    const std::pair<double, const wchar_t*> cases[] = {
        {0, L"0 B"}, {999, L"999 B"}, {1023.6, L"1024 B"}, {1024, L"1.0 KB"}, {1536, L"1.5 KB"},
        {102348, L"99.9 KB"}, {102400, L"100 KB"}, {1044300, L"1020 KB"}, {1048575, L"1024 KB"},
        {99.96 * 1048576, L"100.0 MB"}, {1.5 * 1073741824, L"1.5 GB"}, {2048 * 1099511627776.0, L"2048 TB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(formatByteSize(bytes), text) << bytes;
}
