// The settings of one conversion as read from the panel, and the one rule that
// turns a source pixel size into the target pixel size. Forecast, list and
// transcode all go through targetSize, so they always agree.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

enum class ScaleMode { SourceSize = 0, Percent = 1, FixedWidth = 2, FixedHeight = 3, ExactSize = 4 };

struct ConversionSettings {
    int formatIndex = 0;
    ScaleMode scaleMode = ScaleMode::SourceSize;
    bool keepAspect = true;
    std::optional<std::int32_t> width;   // unset: each image's own width
    std::optional<std::int32_t> height;  // unset: each image's own height
    std::int32_t percent = 100;
    int quality = 85;
};

struct PixelSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

inline constexpr std::int32_t kMaxSide = 100000;
inline constexpr std::int32_t kMaxPercent = 500;

// A combo selection as a mode: nothing selected (negative) or an unknown index is SourceSize.
ScaleMode scaleModeFromSelection(long long selection);

// The text-to-number rule of a numeric edit: wcstol base 10; nullopt (use the
// default) for empty text, no digits or a value outside 32 bits; otherwise the
// value clamped to 1..upperBound.
std::optional<std::int32_t> parseIntSetting(std::wstring_view text, std::int32_t upperBound);

PixelSize targetSize(std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                     const ConversionSettings& settings);
