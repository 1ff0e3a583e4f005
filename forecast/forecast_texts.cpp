// Cell, forecast and summary texts. Sizes are counted in doubles and rounded
// only when written, so the sums do not drift from the cells.
#include "forecast/forecast_texts.h"

#include <cstdint>

#include "forecast/byte_size.h"
#include "forecast/size_model.h"

namespace {
std::wstring pixelSizeText(std::uint32_t width, std::uint32_t height)
{
    return std::to_wstring(width) + L" \u00d7 " + std::to_wstring(height);
}
}  // namespace

std::wstring listCellText(const ImageEntry& entry, int column, const ConversionSettings& settings)
{
    switch (column) {
    case kFileNameColumn: return fileNameOf(entry.path);
    case kSourceSizeColumn: return pixelSizeText(entry.width, entry.height);
    case kSourceBytesColumn: return formatByteSize(static_cast<double>(entry.fileSize));
    case kTargetSizeColumn: {
        const PixelSize target = targetSize(entry.width, entry.height, settings);
        return pixelSizeText(target.width, target.height);
    }
    case kForecastColumn: return L"ca. " + formatByteSize(forecastImage(entry, settings).expected);
    case kFullPathColumn: return entry.path;
    default: return {};
    }
}

void addToTotals(ForecastTotals& totals, const ImageEntry& entry, const ConversionSettings& settings)
{
    ++totals.count;
    totals.source += static_cast<double>(entry.fileSize);
    const SizeForecast forecast = forecastImage(entry, settings);
    totals.expected += forecast.expected;
    totals.low += forecast.low;
    totals.high += forecast.high;
}

std::wstring forecastLineText(const ForecastTotals& totals)
{
    if (totals.count == 0) return L"Gr\u00f6\u00dfenprognose: Bitte zuerst Bilder ausw\u00e4hlen.";
    return L"Prognose gesamt: ca. " + formatByteSize(totals.expected) + L"  (realistische Spanne " +
           formatByteSize(totals.low) + L" \u2013 " + formatByteSize(totals.high) + L")";
}

std::wstring listSummaryText(const ForecastTotals& totals)
{
    if (totals.count == 0) return L"Keine Bilder ausgew\u00e4hlt";
    return std::to_wstring(totals.count) + L" Bild" + (totals.count == 1 ? L"" : L"er") + L"  \u2022  Original " +
           formatByteSize(totals.source) + L"  \u2022  Prognose " + formatByteSize(totals.expected);
}
