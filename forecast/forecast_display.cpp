// Recomputes every row's forecast from the settings as they stand; nothing is
// cached, so each refresh reflects the latest list and panel.
#include "forecast/forecast_display.h"

#include <string>

#include "app/controls.h"
#include "forecast/byte_size.h"
#include "forecast/size_model.h"
#include "imagelist/image_list.h"
#include "settings/settings_reader.h"

void refreshForecast()
{
    if (!mainWindow()) return;
    const ConversionSettings settings = readConversionSettings();
    SetWindowTextW(control(kQualityLabel), (std::to_wstring(settings.quality) + L" %").c_str());

    double sourceSum = 0.0;
    double expectedSum = 0.0;
    double lowSum = 0.0;
    double highSum = 0.0;
    HWND list = control(kImageListView);
    const std::vector<ImageEntry>& entries = imageList();
    for (size_t i = 0; i < entries.size(); ++i) {
        const ImageEntry& entry = entries[i];
        sourceSum += static_cast<double>(entry.fileSize);
        const SizeForecast forecast = forecastImage(entry, settings);
        expectedSum += forecast.expected;
        lowSum += forecast.low;
        highSum += forecast.high;
        const PixelSize target = targetSize(entry.width, entry.height, settings);
        const int row = static_cast<int>(i);
        setListViewCell(list, row, 3, std::to_wstring(target.width) + L" \u00d7 " + std::to_wstring(target.height));
        setListViewCell(list, row, 4, L"ca. " + formatByteSize(forecast.expected));
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
