// Answers the list view's questions from the image list: how many rows there
// are and what each cell says. Columns 3 and 4 follow the forecast's settings.
#include "imagelist/image_list_view.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "app/controls.h"
#include "forecast/forecast_display.h"
#include "forecast/forecast_texts.h"
#include "imagelist/image_list.h"

namespace {
bool nameMatches(std::wstring_view name, std::wstring_view typed, bool prefixOnly)
{
    if (prefixOnly && name.size() > typed.size()) name = name.substr(0, typed.size());
    return CompareStringOrdinal(name.data(), static_cast<int>(name.size()), typed.data(),
                                static_cast<int>(typed.size()), TRUE) == CSTR_EQUAL;
}
}  // namespace

void rebuildImageListView()
{
    HWND list = control(kImageListView);
    // Emptying first drops the selection and focus of the old rows. With redraw
    // off the scroll bars are worked out once, not after each message: under Wine
    // every update of them costs tens of milliseconds.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, imageList().size(), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    refreshForecast();
}

void fillImageListCell(NMLVDISPINFOW& request)
{
    LVITEMW& item = request.item;
    const bool wantsText = (item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0;
    if (!wantsText || item.iItem < 0 || static_cast<size_t>(item.iItem) >= imageList().size()) return;
    const std::wstring text =
        listCellText(imageList()[static_cast<size_t>(item.iItem)], item.iSubItem, forecastSettings());
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

LRESULT findImageListRow(const NMLVFINDITEMW& request)
{
    const LVFINDINFOW& find = request.lvfi;
    const size_t count = imageList().size();
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz || count == 0) return -1;
    const size_t start = request.iStart >= 0 && static_cast<size_t>(request.iStart) < count ? request.iStart : 0;
    const size_t candidates = (find.flags & LVFI_WRAP) ? count : count - start;
    for (size_t n = 0; n < candidates; ++n) {
        const size_t row = (start + n) % count;
        if (nameMatches(fileNameOf(imageList()[row].path), find.psz, find.flags & LVFI_PARTIAL))
            return static_cast<LRESULT>(row);
    }
    return -1;
}
