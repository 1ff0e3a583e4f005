// The forecast model's worked values: expected bytes, spread and range for the
// combinations of source format, target format, scaling and quality.
#include <gtest/gtest.h>

#include <string>

#include "forecast/size_model.h"

namespace {

enum FormatRow { kJpeg, kJfif, kPng, kWebp, kTiff, kBmp, kGif };

const ImageEntry kPhoto{L"C:\\Bilder\\urlaub.jpg", 4000, 3000, 5000000};

ConversionSettings settingsFor(int formatIndex, int quality = 85, bool halfSize = false)
{
    ConversionSettings settings;
    settings.formatIndex = formatIndex;
    settings.quality = quality;
    settings.scaleMode = halfSize ? ScaleMode::Percent : ScaleMode::SourceSize;
    settings.percent = 50;
    return settings;
}

TEST(BytesPerPixel, KnownClassesAndTheRest)
{
    const struct {
        const wchar_t* formatClass;
        double bytes;
    } cases[] = {
        {L".jpg", 0.35}, {L".webp", 0.25}, {L".png", 1.25}, {L".gif", 0.55},
        {L".bmp", 3.0},  {L".tif", 1.6},   {L".heic", 0.8}, {L"", 0.8},
    };
    for (const auto& c : cases) EXPECT_EQ(bytesPerPixel(c.formatClass), c.bytes) << c.formatClass;
}

TEST(QualityFactor, ValuesOverTheSliderRange)
{
    // 28 and 31 are the first qualities above the WebP and JPEG floors, 86 the first of the upper band.
    const struct {
        int quality;
        double jpeg;
        double webp;
    } cases[] = {
        {10, 0.12, 0.14},       {28, 0.12, 0.1408},     {30, 0.12, 0.1583},     {31, 0.1264, 0.1674},
        {50, 0.3287, 0.3773},   {75, 0.7396, 0.7518},   {85, 0.95, 0.93},       {86, 1.0037, 0.9709},
        {90, 1.2507, 1.1531},   {100, 2.1678, 1.7726},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(qualityFactor(L".jpg", c.quality), c.jpeg, 5e-5) << c.quality;
        EXPECT_NEAR(qualityFactor(L".webp", c.quality), c.webp, 5e-5) << c.quality;
    }
    for (const wchar_t* lossless : {L".png", L".tif", L".gif", L".bmp"}) {
        EXPECT_EQ(qualityFactor(lossless, 10), 1.0) << lossless;
    }
}

TEST(ForecastImage, WorkedValues)
{
    const ImageEntry jpegVariant{L"C:\\x\\foto.JPEG", 4000, 3000, 5000000};
    const ImageEntry tiffVariant{L"C:\\x\\scan.tiff", 4000, 3000, 5000000};
    const ImageEntry pngWithoutSize{L"C:\\x\\screen.png", 1920, 1080, 0};
    const ImageEntry tinyPng{L"C:\\x\\dot.png", 1, 1, 100};
    const ImageEntry emptyPng{L"C:\\x\\leer.png", 0, 0, 0};
    const struct {
        const char* name;
        ImageEntry entry;
        ConversionSettings settings;
        double expected;
        double spread;
    } cases[] = {
        {"unscaled JPEG", kPhoto, settingsFor(kJpeg), 4657048.0, 0.15},
        {"JPEG at 86", kPhoto, settingsFor(kJpeg, 86), 4920244.5613, 0.15},
        {"half-size JPEG", kPhoto, settingsFor(kJpeg, 85, true), 1338845.71, 0.22},
        {"to PNG", kPhoto, settingsFor(kPng, 10), 17502048.0, 0.35},
        {"to GIF", kPhoto, settingsFor(kGif), 7702048.0, 0.35},
        {"to TIFF", kPhoto, settingsFor(kTiff), 22402048.0, 0.35},
        {"to BMP at 10", kPhoto, settingsFor(kBmp, 10), 36000256.0, 0.02},
        {"to BMP at 85", kPhoto, settingsFor(kBmp), 36000256.0, 0.02},
        {"to BMP at 100", kPhoto, settingsFor(kBmp, 100), 36000256.0, 0.02},
        // Variant extensions are the target's class: no format factor applies.
        {".jpeg to JFIF", jpegVariant, settingsFor(kJfif), 4657048.0, 0.15},
        {".tiff to TIFF", tiffVariant, settingsFor(kTiff), 4902048.0, 0.15},
        {"PNG without file size to JPEG", pngWithoutSize, settingsFor(kJpeg), 677730.56, 0.35},
        {"tiny PNG to PNG", tinyPng, settingsFor(kPng), 2146.0, 0.15},
        {"empty PNG to PNG", emptyPng, settingsFor(kPng), 2049.225, 0.15},
    };
    for (const auto& c : cases) {
        const SizeForecast forecast = forecastImage(c.entry, c.settings);
        EXPECT_NEAR(forecast.expected, c.expected, 0.005) << c.name;
        EXPECT_EQ(forecast.spread, c.spread) << c.name;
    }
    const SizeForecast unscaled = forecastImage(kPhoto, settingsFor(kJpeg));
    EXPECT_NEAR(unscaled.low, 3958490.8, 1e-6);
    EXPECT_NEAR(unscaled.high, 5355605.2, 1e-6);
}

TEST(EstimateOutputBytes, BitmapIsExactRowArithmetic)
{
    const struct {
        std::uint32_t width;
        std::uint32_t height;
        double bytes;
    } cases[] = {
        {1, 1, 260.0},
        {3, 2, 2 * 12 + 256.0},  // each row of 9 bytes is padded to 12, not the image as a whole
        {5, 0, 256.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(estimateOutputBytes(kPhoto, c.width, c.height, L".bmp", 85), c.bytes)
            << c.width << "x" << c.height;
    }
}

TEST(ForecastSpread, FirstMatchingRuleWins)
{
    const ImageEntry entry{L"C:\\x\\a.bmp", 800, 600, 1440054};
    EXPECT_EQ(forecastSpread(L".bmp", L".bmp", entry, 800, 600), 0.02);
    // One changed side, or both sides swapped, is a scaled image.
    EXPECT_EQ(forecastSpread(L".png", L".png", entry, 800, 601), 0.22);
    EXPECT_EQ(forecastSpread(L".png", L".png", entry, 600, 800), 0.22);
}

}  // namespace
