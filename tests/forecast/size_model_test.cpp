// The forecast model's worked values: expected bytes, spread and range for the
// combinations of source format, target format, scaling and quality.
#include <gtest/gtest.h>

#include <tuple>

#include "forecast/size_model.h"

enum FormatRow { kJpeg, kJfif, kPng, kWebp, kTiff, kBmp, kGif };

TEST(SizeModel, QualityFactorOverTheSliderRange)
{
    // 28 and 31 are the first qualities above the WebP and JPEG floors, 86 the first of the upper band.
    const std::tuple<int, double, double> cases[] = {
        {10, 0.12, 0.14},     {28, 0.12, 0.1408}, {30, 0.12, 0.1583},     {31, 0.1264, 0.1674},
        {50, 0.3287, 0.3773}, {85, 0.95, 0.93},   {86, 1.0037, 0.9709},   {100, 2.1678, 1.7726},
    };
    for (const auto& [quality, jpeg, webp] : cases) {
        EXPECT_NEAR(qualityFactor(L".jpg", quality), jpeg, 5e-5) << quality;
        EXPECT_NEAR(qualityFactor(L".webp", quality), webp, 5e-5) << quality;
    }
}

TEST(SizeModel, ForecastImageWorkedValues)
{
    const ImageEntry photo{L"C:\\Bilder\\urlaub.jpg", 4000, 3000, 5000000};
    // Name, image, target format, quality, percent (100: the source size), expected bytes, spread.
    const std::tuple<const char*, ImageEntry, int, int, int, double, double> cases[] = {
        {"unscaled JPEG", photo, kJpeg, 85, 100, 4657048.0, 0.15},
        {"JPEG at 86", photo, kJpeg, 86, 100, 4920244.5613, 0.15},
        {"half-size JPEG", photo, kJpeg, 85, 50, 1338845.71, 0.22},
        {"to WebP", photo, kWebp, 85, 100, 3257048.0, 0.35},
        {"to PNG at 10", photo, kPng, 10, 100, 17502048.0, 0.35},
        {"to GIF", photo, kGif, 85, 100, 7702048.0, 0.35},
        {"to TIFF", photo, kTiff, 85, 100, 22402048.0, 0.35},
        // A bitmap is exact: 3000 rows of 12000 bytes, or rows of 9 bytes padded to 12, plus 256.
        {"to BMP at 10", photo, kBmp, 10, 100, 36000256.0, 0.02},
        {"3 x 2 BMP", {L"C:\\x\\a.bmp", 3, 2, 100}, kBmp, 85, 100, 280.0, 0.02},
        // Variant extensions are the target's class: no format factor applies.
        {".jpeg to JFIF", {L"C:\\x\\foto.JPEG", 4000, 3000, 5000000}, kJfif, 85, 100, 4657048.0, 0.15},
        {".tiff to TIFF", {L"C:\\x\\scan.tiff", 4000, 3000, 5000000}, kTiff, 85, 100, 4902048.0, 0.15},
        // An unknown source class counts 0.8 bytes per pixel.
        {"HEIC to JPEG", {L"C:\\x\\foto.heic", 4000, 3000, 5000000}, kJpeg, 85, 100, 2038610.5, 0.35},
        {"PNG without size to JPEG", {L"C:\\x\\screen.png", 1920, 1080, 0}, kJpeg, 85, 100, 677730.56, 0.35},
        {"tiny PNG to PNG", {L"C:\\x\\dot.png", 1, 1, 100}, kPng, 85, 100, 2146.0, 0.15},
        {"empty PNG to PNG", {L"C:\\x\\leer.png", 0, 0, 0}, kPng, 85, 100, 2049.225, 0.15},
    };
    for (const auto& [name, entry, format, quality, percent, expected, spread] : cases) {
        const ScaleMode mode = percent == 100 ? ScaleMode::SourceSize : ScaleMode::Percent;
        const ConversionSettings settings{.formatIndex = format, .scaleMode = mode, .keepAspect = true, .width = {},
                                          .height = {}, .percent = percent, .quality = quality};
        const SizeForecast forecast = forecastImage(entry, settings);
        EXPECT_NEAR(forecast.expected, expected, 0.005) << name;
        EXPECT_EQ(forecast.spread, spread) << name;
    }
    const SizeForecast unscaled = forecastImage(photo, {});
    EXPECT_NEAR(unscaled.low, 3958490.8, 1e-6);
    EXPECT_NEAR(unscaled.high, 5355605.2, 1e-6);
    // Both sides swapped is a scaled image, too.
    EXPECT_EQ(forecastSpread(L".png", L".png", {L"a.png", 800, 600, 1}, 600, 800), 0.22);
}
