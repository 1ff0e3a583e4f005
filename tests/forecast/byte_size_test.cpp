// Byte counts as shown in the list and the forecast lines.
#include <gtest/gtest.h>

#include <string>

#include "forecast/byte_size.h"

namespace {

TEST(FormatByteSize, ChoosesTheUnitBeforeRounding)
{
    constexpr double kMiB = 1024.0 * 1024.0;
    constexpr double kTiB = kMiB * kMiB;
    const struct {
        double bytes;
        const wchar_t* text;
    } cases[] = {
        {0, L"0 B"},
        {999, L"999 B"},
        {1023.6, L"1024 B"},
        {1024, L"1.0 KB"},
        {1536, L"1.5 KB"},
        {102348, L"99.9 KB"},
        {1044300, L"1020 KB"},
        {1048575, L"1024 KB"},
        {99.96 * kMiB, L"100.0 MB"},
        {100 * kMiB, L"100 MB"},
        {1.5 * 1024 * kMiB, L"1.5 GB"},
        {kTiB, L"1.0 TB"},
        {1024 * kTiB, L"1024 TB"},
        {2048 * kTiB, L"2048 TB"},
        // The forecast texts of a single 5,000,000-byte photo.
        {4657048, L"4.4 MB"},
        {5000000, L"4.8 MB"},
        {3958490.8, L"3.8 MB"},
        {5355605.2, L"5.1 MB"},
        {2 * 4657048.0, L"8.9 MB"},
        {2 * 5000000.0, L"9.5 MB"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatByteSize(c.bytes), c.text) << c.bytes;
}

TEST(FormatByteSize, ExactTieRoundsToANeighbour)
{
    // 1280 bytes are exactly 1.25 KB; the platform's rounding decides which neighbour.
    const std::wstring text = formatByteSize(1280);
    EXPECT_TRUE(text == L"1.2 KB" || text == L"1.3 KB") << text;
}

}  // namespace
