// Keys pressed in the image list: Entf removes the selected rows as
// "Auswahl entfernen" does, Strg+A selects every row.
#pragma once

#include <windows.h>

// The virtual key of the list view's LVN_KEYDOWN.
void onImageListKey(WORD key);
