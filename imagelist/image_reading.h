// Reading the files being added: folders expanded and files probed on worker
// threads while the window keeps answering and shows which file it is at; the
// readable ones join the list at the end, in the order given, with one rebuild
// and one warning.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Posted by the workers to the main window when the folders are walked or files
// read; wParam names the reading it belongs to, so a late message of an ended
// one is ignored.
inline constexpr UINT kImagesReadMessage = WM_APP + 40;

// Files as they are, folders as the image files below them; what is listed
// already or repeated is skipped. The panel, the list buttons and the start
// button stay locked until the last file is read.
void readImagesIntoList(std::vector<std::wstring> paths);
bool isReadingImages();
void onImagesRead(WPARAM reading);
// Drops what is not yet read and waits for the files being read; for a closing window.
void stopReadingImages();
