// Plain file helpers for tests that check what a handler left on disk: whole
// files as bytes and the names a folder holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

std::string readFileBytes(const std::wstring& path);
void writeFileBytes(const std::wstring& path, std::string_view bytes);

// The names of the plain files directly in the folder, sorted.
std::vector<std::wstring> fileNamesIn(const std::wstring& folder);
