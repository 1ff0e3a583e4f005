// Paths the shell hands the program: the files and folders dropped on the window,
// and those named on the command line ("Senden an", "Öffnen mit").
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

// The dropped paths in the drop's order; the drop is released in every case.
std::vector<std::wstring> takeDroppedPaths(HDROP drop);

// The arguments after the program's own name, quotes removed; a relative path is
// made full against the current folder, an empty argument is left out.
std::vector<std::wstring> commandLinePaths();
// A relative path made full against the current folder; any other as it is.
std::wstring fullPathOf(const std::wstring& path);
