// Rebuilds the list view's rows from the image list.
#pragma once

void rebuildImageListView();
