// Byte counts as the short texts the list and the forecast lines show.
#pragma once

#include <string>

// "B", "KB", "MB", "GB" or "TB" in steps of 1024, whole bytes below 1 KB, one
// decimal below 100 of a larger unit; "." as decimal point in every locale.
std::wstring formatByteSize(double bytes);
