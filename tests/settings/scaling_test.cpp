// Numeric settings as typed into the edits, and the target-size rule with its
// rounding, which forecast, list and transcode all share.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "settings/scaling.h"

TEST(Scaling, ParseIntSettingFollowsWcstolAndClampsToTheRange)
{
    const std::tuple<const wchar_t*, std::int32_t, std::optional<std::int32_t>> cases[] = {
        {L"0", kMaxSide, 1}, {L"-5", kMaxSide, 1}, {L"250000", kMaxSide, 100000}, {L" 800", kMaxSide, 800},
        {L"12px", kMaxSide, 12}, {L"501", kMaxPercent, 500},
        // No number at all, or one beyond 32 bits, means "use the default", not a clamped value.
        {L"abc", kMaxSide, {}}, {L"", kMaxSide, {}}, {L"2147483648", kMaxSide, {}}, {L"-2147483649", kMaxSide, {}},
    };
    for (const auto& [text, upperBound, value] : cases) EXPECT_EQ(parseIntSetting(text, upperBound), value) << text;
}

TEST(Scaling, TargetSizeWorkedValues)
{
    using enum ScaleMode;
    // An unset width or height (empty or unreadable edit) is each image's own side.
    constexpr std::optional<std::int32_t> own;
    // Source, mode, keep the aspect ratio, width, height, percent, target.
    const std::tuple<PixelSize, ScaleMode, bool, std::optional<std::int32_t>, std::optional<std::int32_t>,
                     std::int32_t, PixelSize>
        cases[] = {
            {{4000, 3000}, Percent, false, 1920, 1080, 33, {1320, 990}},
            {{4000, 3000}, FixedWidth, true, 1920, 1080, 100, {1920, 1440}},
            {{4000, 3000}, FixedWidth, false, 1920, 1080, 100, {1920, 1080}},
            {{4000, 3000}, FixedHeight, true, 1920, 1080, 100, {1440, 1080}},
            {{4000, 3000}, FixedHeight, false, 1920, 1080, 100, {1920, 1080}},
            // Enlarging is as welcome as reducing.
            {{800, 600}, ExactSize, true, 1920, 1080, 100, {1440, 1080}},
            {{1080, 1920}, ExactSize, true, 1920, 1080, 100, {608, 1080}},
            // 2.5 rounds away from zero, not to even; no side is ever 0.
            {{3, 5}, Percent, true, 1, 1, 50, {2, 3}},
            {{40, 30}, Percent, true, 1920, 1080, 1, {1, 1}},
            {{4000, 3000}, SourceSize, false, 10, 10, 500, {4000, 3000}},
            {{6000, 4000}, FixedWidth, true, own, 1080, 100, {6000, 4000}},
            {{4000, 3000}, FixedWidth, false, 1920, own, 100, {1920, 3000}},
            {{4000, 3000}, FixedHeight, true, 1920, own, 100, {4000, 3000}},
            {{4000, 3000}, FixedHeight, false, own, 500, 100, {4000, 500}},
            {{4000, 3000}, ExactSize, true, own, 1500, 100, {2000, 1500}},
            {{640, 480}, ExactSize, false, own, own, 100, {640, 480}},
            // Percent multiplies exactly before dividing: 2 × 3000000000 exceeds 32 bits.
            {{3000000000u, 3}, Percent, true, 1, 1, 2, {60000000, 1}},
            // A zero source height makes the ratio 1.0.
            {{640, 0}, FixedWidth, true, 100, 1, 100, {100, 100}},
        };
    for (const auto& [source, mode, keep, width, height, percent, target] : cases) {
        const ConversionSettings settings{.formatIndex = 0, .scaleMode = mode, .keepAspect = keep, .width = width,
                                          .height = height, .percent = percent, .quality = 85};
        const PixelSize actual = targetSize(source.width, source.height, settings);
        EXPECT_EQ(actual, target) << source.width << "x" << source.height << " mode " << static_cast<int>(mode)
                                  << " -> " << actual.width << "x" << actual.height;
    }
}
