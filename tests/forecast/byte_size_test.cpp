// Byte counts as shown in the list and the forecast lines.
#include <gtest/gtest.h>

#include <string>

#include "forecast/byte_size.h"

namespace {

TEST(FormatByteSize, ChoosesTheUnitBeforeRounding)
{
    constexpr double kMiB = 1024.0 * 1024.0;
    const struct {
        double bytes;
        const wchar_t* text;
    } cases[] = {
        {0, L"0 B"},         {999, L"999 B"},       {1023.6, L"1024 B"},    {1024, L"1.0 KB"},
        {1536, L"1.5 KB"},   {102348, L"99.9 KB"},  {1044300, L"1020 KB"},  {1048575, L"1024 KB"},
        {99.96 * kMiB, L"100.0 MB"}, {1.5 * 1024 * kMiB, L"1.5 GB"}, {2048 * kMiB * kMiB, L"2048 TB"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatByteSize(c.bytes), c.text) << c.bytes;
}

}  // namespace
