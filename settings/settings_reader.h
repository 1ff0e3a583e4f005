// Reads the conversion settings from the panel at the moment they are needed;
// nothing is cached between two reads.
#pragma once

#include <windows.h>

#include <cstdint>

#include "settings/output_formats.h"
#include "settings/scaling.h"

const OutputFormat& selectedOutputFormat();
std::int32_t readIntSetting(HWND edit, std::int32_t fallback, std::int32_t upperBound);
ConversionSettings readConversionSettings();
