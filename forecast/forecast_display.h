// Shows the size forecast: quality label, forecast line and summary line, and
// keeps the settings they were computed with for the list's forecast cells.
#pragma once

#include "settings/scaling.h"

void refreshForecast();

// The settings of the last refresh. Every settings change ends in a refresh, so
// cells computed from these agree with the panel and with the forecast line.
const ConversionSettings& forecastSettings();
