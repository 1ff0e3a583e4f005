// Shows the size forecast: quality label, the list's target-size and forecast
// cells, the forecast line and the summary line.
#pragma once

void refreshForecast();
