// The forecast model's worked values: expected bytes, spread and range for the
// combinations of source format, target format, scaling and quality.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "forecast/size_model.h"

namespace {

constexpr int kJpeg = 0;
constexpr int kJfif = 1;
constexpr int kPng = 2;
constexpr int kWebp = 3;
constexpr int kTiff = 4;
constexpr int kBmp = 5;
constexpr int kGif = 6;

const ImageEntry kPhoto{L"C:\\Bilder\\urlaub.jpg", 4000, 3000, 5000000};

ConversionSettings settingsFor(int formatIndex, int quality = 85)
{
    ConversionSettings settings;
    settings.formatIndex = formatIndex;
    settings.quality = quality;
    return settings;
}

ConversionSettings halfSize(int formatIndex)
{
    ConversionSettings settings = settingsFor(formatIndex);
    settings.scaleMode = ScaleMode::Percent;
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
    // The floors are exact, and each band ends where it should.
    EXPECT_EQ(qualityFactor(L".jpg", 30), 0.12);
    EXPECT_GT(qualityFactor(L".jpg", 31), 0.12);
    EXPECT_EQ(qualityFactor(L".webp", 27), 0.14);
    EXPECT_GT(qualityFactor(L".webp", 28), 0.14);
    EXPECT_DOUBLE_EQ(qualityFactor(L".jpg", 85), 0.95);
    EXPECT_DOUBLE_EQ(qualityFactor(L".jpg", 86), 0.95 * std::exp(0.055));
    for (int quality = 10; quality <= 100; ++quality) {
        EXPECT_EQ(qualityFactor(L".png", quality), 1.0);
        EXPECT_EQ(qualityFactor(L".tif", quality), 1.0);
        EXPECT_EQ(qualityFactor(L".gif", quality), 1.0);
        EXPECT_LT(qualityFactor(L".jpg", quality), 3.0);
        EXPECT_LT(qualityFactor(L".webp", quality), 2.2);
    }
}

TEST(ForecastImage, WorkedValues)
{
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
        {"half-size JPEG", kPhoto, halfSize(kJpeg), 1338845.71, 0.22},
        {"to PNG", kPhoto, settingsFor(kPng, 10), 17502048.0, 0.35},
        {"to GIF", kPhoto, settingsFor(kGif), 7702048.0, 0.35},
        {"to TIFF", kPhoto, settingsFor(kTiff), 22402048.0, 0.35},
        {"to BMP", kPhoto, settingsFor(kBmp), 36000256.0, 0.02},
        {"PNG without file size to JPEG", pngWithoutSize, settingsFor(kJpeg), 677730.56, 0.35},
        {"tiny PNG to PNG", tinyPng, settingsFor(kPng), 2146.0, 0.15},
        {"empty PNG to PNG", emptyPng, settingsFor(kPng), 2049.225, 0.15},
    };
    for (const auto& c : cases) {
        const SizeForecast forecast = forecastImage(c.entry, c.settings);
        EXPECT_NEAR(forecast.expected, c.expected, 0.005) << c.name;
        EXPECT_EQ(forecast.spread, c.spread) << c.name;
        EXPECT_DOUBLE_EQ(forecast.low, (1 - c.spread) * forecast.expected) << c.name;
        EXPECT_DOUBLE_EQ(forecast.high, (c.spread + 1) * forecast.expected) << c.name;
    }
    const SizeForecast unscaled = forecastImage(kPhoto, settingsFor(kJpeg));
    EXPECT_NEAR(unscaled.low, 3958490.8, 1e-6);
    EXPECT_NEAR(unscaled.high, 5355605.2, 1e-6);
}

TEST(ForecastImage, VariantExtensionsCountAsTheSameFormat)
{
    const ImageEntry jpeg{L"C:\\x\\foto.JPEG", 4000, 3000, 5000000};
    const ImageEntry tiff{L"C:\\x\\scan.tiff", 4000, 3000, 5000000};
    // Same class: no format factor, so only the quality factor remains.
    EXPECT_DOUBLE_EQ(forecastImage(jpeg, settingsFor(kJfif)).expected, 4657048.0);
    EXPECT_EQ(forecastImage(jpeg, settingsFor(kJfif)).spread, 0.15);
    EXPECT_DOUBLE_EQ(forecastImage(tiff, settingsFor(kTiff)).expected, 5000000.0 * 0.98 + 2048);
    EXPECT_EQ(forecastImage(tiff, settingsFor(kTiff)).spread, 0.15);
    // Scaled, the same-class exponent 0.9 applies instead of 0.94.
    const SizeForecast scaled = forecastImage(tiff, halfSize(kTiff));
    EXPECT_DOUBLE_EQ(scaled.expected, std::pow(0.25, 0.9) * 5000000.0 * 0.98 + 2048);
    EXPECT_EQ(scaled.spread, 0.22);
}

TEST(ForecastImage, QualityMovesOnlyLossyTargets)
{
    for (const int format : {kPng, kTiff, kBmp, kGif}) {
        const double atDefault = forecastImage(kPhoto, settingsFor(format)).expected;
        for (const int quality : {10, 50, 86, 100}) {
            EXPECT_EQ(forecastImage(kPhoto, settingsFor(format, quality)).expected, atDefault)
                << format << " at " << quality;
        }
    }
    for (const int format : {kJpeg, kJfif, kWebp}) {
        EXPECT_LT(forecastImage(kPhoto, settingsFor(format, 50)).expected,
                  forecastImage(kPhoto, settingsFor(format, 100)).expected)
            << format;
    }
    EXPECT_NEAR(forecastImage(kPhoto, settingsFor(kJpeg, 86)).expected,
                5000000.0 * 0.95 * std::exp(0.055) * 0.98 + 2048, 1e-6);
}

TEST(EstimateOutputBytes, BitmapIsExactRowArithmetic)
{
    const struct {
        std::uint32_t width;
        std::uint32_t height;
        double bytes;
    } cases[] = {
        {4000, 3000, 36000256.0},
        {1, 1, 260.0},
        {3, 2, 2 * 12 + 256.0},  // 9 bytes per row, padded to 12
        {5, 0, 256.0},
        {0, 5, 256.0},
    };
    for (const auto& c : cases) {
        for (const int quality : {10, 85, 100}) {
            EXPECT_EQ(estimateOutputBytes(kPhoto, c.width, c.height, L".bmp", quality), c.bytes)
                << c.width << "x" << c.height;
        }
    }
}

TEST(EstimateOutputBytes, DegenerateInputsStayAboveTheFloor)
{
    // Unknown source classes take 0.8 bytes per pixel and are never the target's class.
    const ImageEntry heic{L"C:\\x\\IMG.HEIC", 100, 100, 0};
    const double heicBytes = 0.8 * 10000.0 * 1.25 / 0.8 * 0.98 + 2048;
    EXPECT_NEAR(estimateOutputBytes(heic, 100, 100, L".png", 85), heicBytes, 1e-9);
    EXPECT_EQ(forecastSpread(L".heic", L".png", heic, 100, 100), 0.35);

    // A zero-sized target counts as one pixel; nothing falls below 2048 bytes.
    const ImageEntry photo{L"C:\\x\\a.jpg", 4000, 3000, 5000000};
    const double onePixel = std::pow(1.0 / 12000000.0, 0.9) * 5000000.0 * 0.95 * 0.98 + 2048;
    EXPECT_DOUBLE_EQ(estimateOutputBytes(photo, 0, 0, L".jpg", 85), onePixel);
    EXPECT_GE(estimateOutputBytes(photo, 1, 1, L".webp", 10), 2048.0);
}

TEST(ForecastSpread, FirstMatchingRuleWins)
{
    const ImageEntry entry{L"C:\\x\\a.bmp", 800, 600, 1440054};
    EXPECT_EQ(forecastSpread(L".bmp", L".bmp", entry, 800, 600), 0.02);
    EXPECT_EQ(forecastSpread(L".png", L".png", entry, 800, 600), 0.15);
    EXPECT_EQ(forecastSpread(L".png", L".png", entry, 800, 601), 0.22);
    EXPECT_EQ(forecastSpread(L".png", L".png", entry, 600, 800), 0.22);
    EXPECT_EQ(forecastSpread(L".png", L".jpg", entry, 800, 600), 0.35);
    EXPECT_EQ(forecastSpread(L"", L".gif", entry, 800, 600), 0.35);
}

TEST(ForecastImage, OutOfRangeFormatIndexUsesTheClampedRow)
{
    EXPECT_EQ(forecastImage(kPhoto, settingsFor(-1)).expected,
              forecastImage(kPhoto, settingsFor(kJpeg)).expected);
    EXPECT_EQ(forecastImage(kPhoto, settingsFor(9)).expected,
              forecastImage(kPhoto, settingsFor(kGif)).expected);
}

}  // namespace
