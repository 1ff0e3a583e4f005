// Recomputes the forecast totals from the settings as they stand and has the
// list redraw its visible rows, whose cells follow the same settings.
#include "forecast/forecast_display.h"

#include <windows.h>

#include <string>

#include "app/controls.h"
#include "forecast/forecast_texts.h"
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

    ForecastTotals totals;
    for (const ImageEntry& entry : imageList()) addToTotals(totals, entry, settings);
    SetWindowTextW(control(kForecastText), forecastLineText(totals).c_str());
    SetWindowTextW(control(kSummaryText), listSummaryText(totals).c_str());
}
