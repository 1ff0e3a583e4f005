// Names of the files a run writes: the source's stem with the target extension
// in the target folder, with " (n)" added so that nothing is ever overwritten.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// The file name of a path without its extension: ".profile" and ".." stay
// whole, "x." gives "x", a ":" ends the name (stream suffix).
std::wstring pathStem(std::wstring_view path);

// What a run knows about a name beyond the disk: given to an image and settled
// or found taken when creating (Taken), or given to an image still converting,
// whose failure would free it again (Pending).
enum class NameClaim { None, Taken, Pending };

struct OutputName {
    std::wstring path;  // empty: a pending name has to settle before choosing
    bool last = false;  // the time-based name: no further one to try
};

// The first free path among stem + extension, stem + " (2)" + extension, … up to
// " (999999)"; past that a time-based number, untested. A name is free when
// claimOf says None and the disk holds nothing there. Only queries the file system.
OutputName uniqueOutputPath(std::wstring_view targetFolder, std::wstring_view sourcePath, std::wstring_view extension,
                            const std::function<NameClaim(const std::wstring&)>& claimOf = {});
