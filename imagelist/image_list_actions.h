// The three list buttons: add images from the open dialog, remove the
// selected rows, clear the list; and adding what was dropped or named on the
// command line the same way.
#pragma once

#include <string>
#include <vector>

void addImages();
// Files as they are, folders as the image files below them; duplicates skipped,
// the rest read without blocking the window, unreadable ones counted and reported.
void addPaths(const std::vector<std::wstring>& paths);
void removeSelectedImages();
void clearImages();
