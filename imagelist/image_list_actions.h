// The three list buttons: add images from the open dialog, remove the
// selected rows, clear the list.
#pragma once

void addImages();
void removeSelectedImages();
void clearImages();
