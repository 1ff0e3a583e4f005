// The size forecast: fixed constants and a fixed order of operations, so that
// the numbers shown are reproducible to the byte for the same inputs.
#include "forecast/size_model.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "settings/output_formats.h"

namespace {

// Every non-bitmap estimate carries at least this much container overhead.
constexpr double kMinimumBytes = 2048.0;
constexpr double kBitmapHeaderBytes = 256.0;

// A 24-bit bitmap's exact size: rows padded to whole 4-byte words, plus headers.
double bitmapBytes(std::uint32_t targetWidth, std::uint32_t targetHeight)
{
    const double rowBytes = std::ceil(static_cast<double>(targetWidth) * 24 * 0.03125) * 4;
    return targetHeight * rowBytes + kBitmapHeaderBytes;
}

}  // namespace

double bytesPerPixel(std::wstring_view formatClass)
{
    if (formatClass == L".jpg") return 0.35;
    if (formatClass == L".webp") return 0.25;
    if (formatClass == L".png") return 1.25;
    if (formatClass == L".gif") return 0.55;
    if (formatClass == L".bmp") return 3.0;
    if (formatClass == L".tif") return 1.6;
    return 0.8;
}

double qualityFactor(std::wstring_view targetClass, int quality)
{
    // 85 is the default quality and belongs to the power band.
    const bool upperBand = quality > 85;
    if (targetClass == L".jpg") {
        const double f = upperBand ? 0.95 * std::exp((quality - 85) * 0.055)
                                   : 0.95 * std::pow(quality / 85.0, 2.0);
        return std::clamp(f, 0.12, 3.0);
    }
    if (targetClass == L".webp") {
        const double f = upperBand ? 0.93 * std::exp((quality - 85) * 0.043)
                                   : 0.93 * std::pow(quality / 85.0, 1.7);
        return std::clamp(f, 0.14, 2.2);
    }
    return 1.0;
}

double estimateOutputBytes(const ImageEntry& entry, std::uint32_t targetWidth,
                           std::uint32_t targetHeight, std::wstring_view targetExtension, int quality)
{
    const std::wstring sourceClass = formatClassOf(entry.path);
    const std::wstring targetClass = formatClassOf(targetExtension);
    if (targetClass == L".bmp") return bitmapBytes(targetWidth, targetHeight);

    const double sourcePixels =
        std::max(static_cast<double>(entry.width) * static_cast<double>(entry.height), 1.0);
    const double pixelRatio =
        std::max(static_cast<double>(targetHeight) * static_cast<double>(targetWidth), 1.0) / sourcePixels;
    // An unreadable file size is replaced by what the format typically takes.
    const double sourceBytes = entry.fileSize != 0 ? static_cast<double>(entry.fileSize)
                                                   : bytesPerPixel(sourceClass) * sourcePixels;
    const bool sameClass = sourceClass == targetClass;
    const double k = std::pow(pixelRatio, sameClass ? 0.9 : 0.94);
    double e = k * sourceBytes * qualityFactor(targetClass, quality);
    if (!sameClass) {
        e = (bytesPerPixel(targetClass) / std::max(bytesPerPixel(sourceClass), 0.05)) * e;
    }
    return std::max(e * 0.98 + kMinimumBytes, kMinimumBytes);
}

double forecastSpread(std::wstring_view sourceClass, std::wstring_view targetClass,
                      const ImageEntry& entry, std::uint32_t targetWidth, std::uint32_t targetHeight)
{
    if (targetClass == L".bmp") return 0.02;
    if (sourceClass != targetClass) return 0.35;
    if (targetWidth == entry.width && targetHeight == entry.height) return 0.15;
    return 0.22;
}

SizeForecast forecastImage(const ImageEntry& entry, const ConversionSettings& settings)
{
    const PixelSize target = targetSize(entry.width, entry.height, settings);
    const std::wstring_view extension = outputFormatAt(settings.formatIndex).extension;

    SizeForecast forecast;
    forecast.expected =
        estimateOutputBytes(entry, target.width, target.height, extension, settings.quality);
    forecast.spread = forecastSpread(formatClassOf(entry.path), formatClassOf(extension), entry,
                                     target.width, target.height);
    forecast.low = (1 - forecast.spread) * forecast.expected;
    forecast.high = (forecast.spread + 1) * forecast.expected;
    return forecast;
}
