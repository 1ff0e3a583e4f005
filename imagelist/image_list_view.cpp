// Writes the columns that come straight from the entries, then lets the
// forecast refresh fill the columns that depend on the settings.
#include "imagelist/image_list_view.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/controls.h"
#include "forecast/byte_size.h"
#include "forecast/forecast_display.h"
#include "imagelist/image_list.h"

void rebuildImageListView()
{
    HWND list = control(kImageListView);
    // Without this every inserted row repaints the visible list on its own,
    // which makes thousands of rows take minutes instead of milliseconds.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    const std::vector<ImageEntry>& entries = imageList();
    for (size_t i = 0; i < entries.size(); ++i) {
        const ImageEntry& entry = entries[i];
        const int row = static_cast<int>(i);
        std::wstring name = fileNameOf(entry.path);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = name.data();
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        setListViewCell(list, row, 1, std::to_wstring(entry.width) + L" \u00d7 " + std::to_wstring(entry.height));
        setListViewCell(list, row, 2, formatByteSize(static_cast<double>(entry.fileSize)));
        setListViewCell(list, row, 5, entry.path);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    refreshForecast();
}
