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

// A symbolic link to a target that need not exist, removed again with the
// object. Under Wine it is made on the Linux side, where Win32 cannot see it
// (and where deleting it through Win32 would delete its target instead).
class SymbolicLink {
public:
    SymbolicLink(const std::wstring& link, const std::wstring& target);
    ~SymbolicLink();
    SymbolicLink(const SymbolicLink&) = delete;
    SymbolicLink& operator=(const SymbolicLink&) = delete;
    bool made() const { return made_; }

private:
    std::wstring link_;
    std::wstring target_;
    bool made_ = false;
};
