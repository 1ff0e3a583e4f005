// The panel's controls turned into ConversionSettings.
#include "settings/settings_reader.h"

#include <windows.h>

#include <commctrl.h>

#include "app/controls.h"

const OutputFormat& selectedOutputFormat()
{
    return outputFormatAt(SendMessageW(control(kFormatCombo), CB_GETCURSEL, 0, 0));
}

std::int32_t readIntSetting(HWND edit, std::int32_t fallback, std::int32_t upperBound)
{
    return parseIntSetting(readControlText(edit), upperBound).value_or(fallback);
}

ConversionSettings readConversionSettings()
{
    ConversionSettings settings;
    settings.formatIndex = static_cast<int>(&selectedOutputFormat() - kOutputFormats.data());
    settings.scaleMode = scaleModeFromSelection(SendMessageW(control(kScaleCombo), CB_GETCURSEL, 0, 0));
    settings.keepAspect = SendMessageW(control(kKeepAspectCheck), BM_GETCHECK, 0, 0) == BST_CHECKED;
    // An unreadable width or height means each image's own side.
    settings.width = parseIntSetting(readControlText(control(kWidthEdit)), kMaxSide);
    settings.height = parseIntSetting(readControlText(control(kHeightEdit)), kMaxSide);
    settings.percent = readIntSetting(control(kPercentEdit), 100, kMaxPercent);
    settings.quality = static_cast<int>(SendMessageW(control(kQualityTrackbar), TBM_GETPOS, 0, 0));
    return settings;
}
