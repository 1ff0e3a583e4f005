// The list view as a window onto the image list: it holds no rows of its own,
// only their number, and asks for each cell when it needs one.
#pragma once

#include <windows.h>

#include <commctrl.h>

void rebuildImageListView();

// LVN_GETDISPINFOW: the text of one cell of row i, from entry i.
void fillImageListCell(NMLVDISPINFOW& request);

// LVN_ODFINDITEMW: the row that typing in the list jumps to, or -1.
LRESULT findImageListRow(const NMLVFINDITEMW& request);
