// Entf and Strg+A in the image list.
#include "imagelist/image_list_keys.h"

#include <commctrl.h>

#include "app/controls.h"
#include "imagelist/image_list_actions.h"

void onImageListKey(WORD key)
{
    if (key == VK_DELETE) {
        removeSelectedImages();
    } else if (key == 'A' && GetKeyState(VK_CONTROL) < 0) {
        LVITEMW selected{};
        selected.stateMask = LVIS_SELECTED;
        selected.state = LVIS_SELECTED;
        // Item -1 addresses every row.
        SendMessageW(control(kImageListView), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&selected));
    }
}
