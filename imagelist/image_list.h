// The one program-wide ImageList and the probe that turns an image file into an
// entry. Probing opens the file only for as long as it takes to read frame 0's size.
#pragma once

#include <string>
#include <vector>

#include "imagelist/image_entry.h"

// Ordered by adding; append, erase at a position and clear are the vector's own.
std::vector<ImageEntry>& imageList();

// False when no installed decoder can open the file and report frame 0's size;
// the entry is then of no meaning. fileSize is 0 when the size cannot be read.
// A file whose header declares a size beyond the limits is refused unopened;
// width and height are the upright size its EXIF orientation gives.
bool probeImage(const std::wstring& path, ImageEntry& entry);
