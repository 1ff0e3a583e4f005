// The heuristic that predicts an output file's size from what the image list
// already knows (pixel size, file size, format), without opening the file.
#pragma once

#include <cstdint>
#include <string_view>

#include "imagelist/image_entry.h"
#include "settings/scaling.h"

struct SizeForecast {
    double expected = 0.0;  // bytes, unrounded
    double spread = 0.0;    // fraction of expected that low and high lie away from it
    double low = 0.0;
    double high = 0.0;
};

// Typical bytes per pixel of a format class; unknown classes take a middling value.
double bytesPerPixel(std::wstring_view formatClass);

// How the quality setting scales a lossy target's size; 1.0 for lossless targets.
double qualityFactor(std::wstring_view targetClass, int quality);

// Expected output bytes; classifies the entry's path and the target extension itself.
double estimateOutputBytes(const ImageEntry& entry, std::uint32_t targetWidth,
                           std::uint32_t targetHeight, std::wstring_view targetExtension, int quality);

// The relative width of the realistic range: narrow when little changes between
// source and output, wide when the format changes.
double forecastSpread(std::wstring_view sourceClass, std::wstring_view targetClass,
                      const ImageEntry& entry, std::uint32_t targetWidth, std::uint32_t targetHeight);

SizeForecast forecastImage(const ImageEntry& entry, const ConversionSettings& settings);
