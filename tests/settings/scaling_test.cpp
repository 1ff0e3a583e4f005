// Numeric settings as typed into the edits, and the target-size rule with its
// rounding, which forecast, list and transcode all share.
#include <gtest/gtest.h>

#include <optional>

#include "settings/scaling.h"

namespace {

TEST(ScaleModeFromSelection, UnknownOrMissingSelectionKeepsTheSourceSize)
{
    EXPECT_EQ(scaleModeFromSelection(-1), ScaleMode::SourceSize);
    EXPECT_EQ(scaleModeFromSelection(0), ScaleMode::SourceSize);
    EXPECT_EQ(scaleModeFromSelection(1), ScaleMode::Percent);
    EXPECT_EQ(scaleModeFromSelection(2), ScaleMode::FixedWidth);
    EXPECT_EQ(scaleModeFromSelection(3), ScaleMode::FixedHeight);
    EXPECT_EQ(scaleModeFromSelection(4), ScaleMode::ExactSize);
    EXPECT_EQ(scaleModeFromSelection(5), ScaleMode::SourceSize);
}

TEST(ParseIntSetting, FollowsWcstolAndClampsToTheRange)
{
    const struct {
        const wchar_t* text;
        std::int32_t upperBound;
        std::optional<std::int32_t> value;
    } cases[] = {
        {L"0", kMaxSide, 1},
        {L"-5", kMaxSide, 1},
        {L"250000", kMaxSide, kMaxSide},
        {L" 800", kMaxSide, 800},
        {L"abc", kMaxSide, std::nullopt},
        {L"", kMaxSide, std::nullopt},
        {L"99999999999", kMaxSide, std::nullopt},
        {L"12px", kMaxSide, 12},
        {L"\t\n 7", kMaxSide, 7},
        {L"+42", kMaxSide, 42},
        {L"1920", kMaxSide, 1920},
        {L" ", kMaxSide, std::nullopt},
        {L"-", kMaxSide, std::nullopt},
        {L"px12", kMaxSide, std::nullopt},
        {L"1 2", kMaxSide, 1},
        // The 32-bit limits: inside they are clamped, one beyond is no number.
        {L"2147483647", kMaxSide, kMaxSide},
        {L"2147483648", kMaxSide, std::nullopt},
        {L"-2147483648", kMaxSide, 1},
        {L"-2147483649", kMaxSide, std::nullopt},
        {L"500", kMaxPercent, 500},
        {L"501", kMaxPercent, kMaxPercent},
        {L"1", kMaxPercent, 1},
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
    };
    for (const auto& c : cases) {
        const PixelSize target = targetSize(c.source.width, c.source.height, c.settings);
        EXPECT_EQ(target, c.target) << c.source.width << "x" << c.source.height << " mode "
                                    << static_cast<int>(c.settings.scaleMode) << " -> " << target.width
                                    << "x" << target.height;
    }
}

TEST(TargetSize, ModesUseOnlyTheirOwnSettings)
{
    using enum ScaleMode;
    const struct {
        PixelSize source;
        ConversionSettings settings;
        PixelSize target;
    } cases[] = {
        // The source size ignores every other field.
        {{4000, 3000}, settingsFor(SourceSize, true, 10, 10, 500), {4000, 3000}},
        {{4000, 3000}, settingsFor(SourceSize, false, 10, 10, 1), {4000, 3000}},
        // Without keepAspect both fixed modes take the other side from its edit...
        {{4000, 3000}, settingsFor(FixedHeight, false, 1920, 1080), {1920, 1080}},
        {{4000, 3000}, settingsFor(ExactSize, false, 1920, 1080), {1920, 1080}},
        // ...and an unset side is the source's own.
        {{4000, 3000}, settingsFor(FixedWidth, false, 1920, std::nullopt), {1920, 3000}},
        {{4000, 3000}, settingsFor(FixedHeight, false, std::nullopt, 1080), {4000, 1080}},
        {{4000, 3000}, settingsFor(ExactSize, true, std::nullopt, std::nullopt), {4000, 3000}},
        // keepAspect ignores the other side's edit.
        {{4000, 3000}, settingsFor(FixedHeight, true, 10, 1500), {2000, 1500}},
        // Enlarging is as welcome as reducing, and sides above the trackbar's 10000 count.
        {{100, 50}, settingsFor(Percent, true, 1, 1, 500), {500, 250}},
        {{100, 50}, settingsFor(FixedWidth, true, kMaxSide, 1), {kMaxSide, 50000}},
        {{200, 100}, settingsFor(ExactSize, false, 20000, 30000), {20000, 30000}},
        // Percent multiplies exactly before dividing: 2 × 3000000000 exceeds 32 bits.
        {{3000000000u, 3}, settingsFor(Percent, true, 1, 1, 2), {60000000, 1}},
        // A zero source height makes the ratio 1.0.
        {{640, 0}, settingsFor(FixedWidth, true, 100, 1), {100, 100}},
        {{640, 0}, settingsFor(FixedHeight, true, 1, 50), {50, 50}},
        // A side that rounds to 0 becomes 1.
        {{10000, 1}, settingsFor(FixedWidth, true, 100, 1), {100, 1}},
        {{1, 10000}, settingsFor(ExactSize, true, 100, 100), {1, 100}},
    };
    for (const auto& c : cases) {
        const PixelSize target = targetSize(c.source.width, c.source.height, c.settings);
        EXPECT_EQ(target, c.target) << c.source.width << "x" << c.source.height << " mode "
                                    << static_cast<int>(c.settings.scaleMode) << " -> " << target.width
                                    << "x" << target.height;
    }
}

TEST(TargetSize, HalvesRoundAwayFromZero)
{
    using enum ScaleMode;
    // 3 × 50 % = 1.5 and 5 × 50 % = 2.5: both round up, not to even.
    EXPECT_EQ(targetSize(3, 5, settingsFor(Percent, true, 1, 1, 50)), (PixelSize{2, 3}));
    // 607.5 from the fit of a portrait image into a landscape box.
    EXPECT_EQ(targetSize(1080, 1920, settingsFor(ExactSize, true, 1920, 1080)), (PixelSize{608, 1080}));
    // W / r with r = 2: 5 / 2 = 2.5.
    EXPECT_EQ(targetSize(2, 1, settingsFor(FixedWidth, true, 5, 1)), (PixelSize{5, 3}));
    // H × r with r = 0.5: 5 × 0.5 = 2.5.
    EXPECT_EQ(targetSize(1, 2, settingsFor(FixedHeight, true, 1, 5)), (PixelSize{3, 5}));
}

}  // namespace
