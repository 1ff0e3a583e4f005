// Finds the installed WIC encoder for a file extension. The match rule is a
// pure function so that it can be checked without any encoder installed.
#pragma once

#include <windows.h>

#include <string_view>

// True when an encoder with this extension list writes files with the wanted
// extension. The list is one string, not split at its separators; both sides
// are compared lower-cased.
bool encoderExtensionsMatch(std::wstring_view extensionList, std::wstring_view wantedExtension);

// The container format of the first installed encoder, in the platform's order,
// whose extension list matches. False when none matches or its container
// format cannot be read.
bool findEncoder(std::wstring_view extension, GUID& containerFormat);
