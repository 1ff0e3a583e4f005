// Names of the files a run writes: the source's stem with the target extension
// in the target folder, with " (n)" added so that nothing is ever overwritten.
#pragma once

#include <string>
#include <string_view>

// The file name of a path without its extension: ".profile" and ".." stay
// whole, "x." gives "x", a ":" ends the name (stream suffix).
std::wstring pathStem(std::wstring_view path);

// The first free path among stem + extension, stem + " (2)" + extension, … up to
// " (999999)"; past that a time-based number, untested. Only queries the file system.
std::wstring uniqueOutputPath(std::wstring_view targetFolder, std::wstring_view sourcePath,
                              std::wstring_view extension);
