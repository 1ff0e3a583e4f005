// Numeric settings as typed into the edits, and the target-size rule with its
// rounding, which forecast, list and transcode all share.
#include <gtest/gtest.h>

#include <optional>

#include "settings/scaling.h"

namespace {

TEST(ScaleModeFromSelection, UnknownOrMissingSelectionKeepsTheSourceSize)
{
    using enum ScaleMode;
    // The combo's order.
    const ScaleMode modes[] = {SourceSize, Percent, FixedWidth, FixedHeight, ExactSize};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(scaleModeFromSelection(i), modes[i]) << i;
    EXPECT_EQ(scaleModeFromSelection(-1), SourceSize);
    EXPECT_EQ(scaleModeFromSelection(5), SourceSize);
}

TEST(ParseIntSetting, FollowsWcstolAndClampsToTheRange)
{
    const struct {
        const wchar_t* text;
        std::int32_t upperBound;
        std::optional<std::int32_t> value;
    } cases[] = {
        {L"0", kMaxSide, 1},           {L"-5", kMaxSide, 1},        {L"250000", kMaxSide, kMaxSide},
        {L" 800", kMaxSide, 800},      {L"12px", kMaxSide, 12},     {L"abc", kMaxSide, std::nullopt},
        {L"", kMaxSide, std::nullopt}, {L"99999999999", kMaxSide, std::nullopt},
        // One beyond the 32-bit range is no number, not a clamped one.
        {L"2147483648", kMaxSide, std::nullopt},
        {L"501", kMaxPercent, kMaxPercent},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseIntSetting(c.text, c.upperBound), c.value) << '"' << c.text << '"';
    }
}

ConversionSettings settingsFor(ScaleMode mode, bool keepAspect, std::optional<std::int32_t> width,
                               std::optional<std::int32_t> height, std::int32_t percent = 100)
{
    ConversionSettings settings;
    settings.scaleMode = mode;
    settings.keepAspect = keepAspect;
    settings.width = width;
    settings.height = height;
    settings.percent = percent;
    return settings;
}

TEST(TargetSize, WorkedValues)
{
    using enum ScaleMode;
    const struct {
        PixelSize source;
        ConversionSettings settings;
        PixelSize target;
    } cases[] = {
        {{4000, 3000}, settingsFor(Percent, true, 1920, 1080, 50), {2000, 1500}},
        {{4000, 3000}, settingsFor(Percent, false, 1920, 1080, 33), {1320, 990}},
        {{4000, 3000}, settingsFor(FixedWidth, true, 1920, 1080), {1920, 1440}},
        {{4000, 3000}, settingsFor(FixedWidth, false, 1920, 1080), {1920, 1080}},
        {{4000, 3000}, settingsFor(FixedHeight, true, 1920, 1080), {1440, 1080}},
        {{4000, 3000}, settingsFor(ExactSize, true, 1920, 1080), {1440, 1080}},
        {{800, 600}, settingsFor(ExactSize, true, 1920, 1080), {1440, 1080}},
        {{1080, 1920}, settingsFor(ExactSize, true, 1920, 1080), {608, 1080}},
        {{1000, 333}, settingsFor(FixedWidth, true, 500, 1080), {500, 167}},
        {{5, 3}, settingsFor(FixedHeight, true, 1920, 7), {12, 7}},
        {{1, 3}, settingsFor(Percent, true, 1920, 1080, 50), {1, 2}},
        {{40, 30}, settingsFor(Percent, true, 1920, 1080, 1), {1, 1}},
        {{6000, 4000}, settingsFor(FixedWidth, true, std::nullopt, 1080), {6000, 4000}},
        // Each mode reads only its own fields; without keepAspect an unset side is the source's.
        {{4000, 3000}, settingsFor(SourceSize, false, 10, 10, 500), {4000, 3000}},
        {{4000, 3000}, settingsFor(FixedHeight, false, 1920, 1080), {1920, 1080}},
        {{4000, 3000}, settingsFor(FixedWidth, false, 1920, std::nullopt), {1920, 3000}},
        // Enlarging is as welcome as reducing, and sides above the trackbar's 10000 count.
        {{100, 50}, settingsFor(Percent, true, 1, 1, 500), {500, 250}},
        {{200, 100}, settingsFor(ExactSize, false, 20000, 30000), {20000, 30000}},
        // Percent multiplies exactly before dividing: 2 × 3000000000 exceeds 32 bits.
        {{3000000000u, 3}, settingsFor(Percent, true, 1, 1, 2), {60000000, 1}},
        // A zero source height makes the ratio 1.0.
        {{640, 0}, settingsFor(FixedWidth, true, 100, 1), {100, 100}},
        // 2.5 rounds away from zero, not to even.
        {{3, 5}, settingsFor(Percent, true, 1, 1, 50), {2, 3}},
    };
    for (const auto& c : cases) {
        const PixelSize target = targetSize(c.source.width, c.source.height, c.settings);
        EXPECT_EQ(target, c.target) << c.source.width << "x" << c.source.height << " mode "
                                    << static_cast<int>(c.settings.scaleMode) << " -> " << target.width
                                    << "x" << target.height;
    }
}

}  // namespace
