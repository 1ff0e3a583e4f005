// The texts the list's cells, the forecast line and the list summary show, as
// pure functions of the entries and the settings: the window and the console
// program's forecast print the same.
#pragma once

#include <cstddef>
#include <string>

#include "imagelist/image_entry.h"
#include "settings/scaling.h"

enum ListCellColumn : int { kFileNameColumn, kSourceSizeColumn, kSourceBytesColumn, kTargetSizeColumn, kForecastColumn,
                            kFullPathColumn, kListColumnCount };

std::wstring listCellText(const ImageEntry& entry, int column, const ConversionSettings& settings);

// The running sums behind the forecast line and the list summary.
struct ForecastTotals {
    std::size_t count = 0;
    double source = 0.0;
    double expected = 0.0;
    double low = 0.0;
    double high = 0.0;
};

void addToTotals(ForecastTotals& totals, const ImageEntry& entry, const ConversionSettings& settings);
std::wstring forecastLineText(const ForecastTotals& totals);
std::wstring listSummaryText(const ForecastTotals& totals);
