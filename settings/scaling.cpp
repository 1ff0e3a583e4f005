// Reading numeric settings and the target-size rule. Every caller that needs an
// image's output size comes here, so the rounding below is the only one.
#include "settings/scaling.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cwchar>
#include <string>

namespace {

// A rounded side: halves away from zero, and never 0.
std::uint32_t roundedSide(double value)
{
    return static_cast<std::uint32_t>(std::max(std::llround(value), 1LL));
}

}  // namespace

ScaleMode scaleModeFromSelection(long long selection)
{
    if (selection < 0 || selection > static_cast<long long>(ScaleMode::ExactSize)) {
        return ScaleMode::SourceSize;
    }
    return static_cast<ScaleMode>(selection);
}

std::optional<std::int32_t> parseIntSetting(std::wstring_view text, std::int32_t upperBound)
{
    if (text.empty()) return std::nullopt;

    // On Windows long is 32 bits, so ERANGE from wcstol is exactly "outside int32".
    static_assert(sizeof(long) == sizeof(std::int32_t));
    const std::wstring terminated(text);
    wchar_t* end = nullptr;
    errno = 0;
    const long value = std::wcstol(terminated.c_str(), &end, 10);
    if (end == terminated.c_str() || errno == ERANGE) return std::nullopt;
    return std::clamp<std::int32_t>(value, 1, upperBound);
}

PixelSize targetSize(std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                     const ConversionSettings& settings)
{
    const double sw = sourceWidth;
    const double sh = sourceHeight;
    const std::uint32_t w = settings.width ? static_cast<std::uint32_t>(*settings.width) : sourceWidth;
    const std::uint32_t h = settings.height ? static_cast<std::uint32_t>(*settings.height) : sourceHeight;
    const double ratio = sourceHeight == 0 ? 1.0 : sw / sh;
    const bool keep = settings.keepAspect;

    switch (settings.scaleMode) {
    case ScaleMode::Percent: {
        // The product is exact in 64 bits before the one division that rounds.
        const std::int64_t p = settings.percent;
        return {roundedSide(static_cast<double>(p * sourceWidth) / 100.0),
                roundedSide(static_cast<double>(p * sourceHeight) / 100.0)};
    }
    case ScaleMode::FixedWidth:
        if (keep) return {w, roundedSide(w / ratio)};
        return {w, h};
    case ScaleMode::FixedHeight:
        if (keep) return {roundedSide(h * ratio), h};
        return {w, h};
    case ScaleMode::ExactSize:
        if (keep) {
            const double s = std::min(h / sh, w / sw);
            return {roundedSide(s * sw), roundedSide(s * sh)};
        }
        return {w, h};
    case ScaleMode::SourceSize:
        break;
    }
    return {sourceWidth, sourceHeight};
}
