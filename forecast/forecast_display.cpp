// Recomputes the forecast totals from the settings as they stand and has the
// list redraw its visible rows, whose cells follow the same settings.
#include "forecast/forecast_display.h"

#include <windows.h>

#include <string>

#include "app/controls.h"
#include "forecast/byte_size.h"
#include "forecast/size_model.h"
#include "imagelist/image_list.h"
#include "settings/settings_reader.h"

namespace {
ConversionSettings gForecastSettings;
}

const ConversionSettings& forecastSettings()
{
    return gForecastSettings;
}

void refreshForecast()
{
    if (!mainWindow()) return;
    gForecastSettings = readConversionSettings();
    const ConversionSettings& settings = gForecastSettings;
    SetWindowTextW(control(kQualityLabel), (std::to_wstring(settings.quality) + L" %").c_str());
    // The list asks for its cells when it paints; only the rows on screen are redrawn.
    InvalidateRect(control(kImageListView), nullptr, FALSE);

    double sourceSum = 0.0;
    double expectedSum = 0.0;
    double lowSum = 0.0;
    double highSum = 0.0;
    const ImageList& entries = imageList();
    for (const ImageEntry& entry : entries) {
        sourceSum += static_cast<double>(entry.fileSize);
        const SizeForecast forecast = forecastImage(entry, settings);
        expectedSum += forecast.expected;
        lowSum += forecast.low;
        highSum += forecast.high;
    }

    if (entries.empty()) {
        SetWindowTextW(control(kForecastText), L"Gr\u00f6\u00dfenprognose: Bitte zuerst Bilder ausw\u00e4hlen.");
        SetWindowTextW(control(kSummaryText), L"Keine Bilder ausgew\u00e4hlt");
        return;
    }
    const std::wstring forecastLine = L"Prognose gesamt: ca. " + formatByteSize(expectedSum) +
                                      L"  (realistische Spanne " + formatByteSize(lowSum) + L" \u2013 " +
                                      formatByteSize(highSum) + L")";
    const std::wstring summaryLine = std::to_wstring(entries.size()) + L" Bild" +
                                     (entries.size() == 1 ? L"" : L"er") + L"  \u2022  Original " +
                                     formatByteSize(sourceSum) + L"  \u2022  Prognose " + formatByteSize(expectedSum);
    SetWindowTextW(control(kForecastText), forecastLine.c_str());
    SetWindowTextW(control(kSummaryText), summaryLine.c_str());
}
