// The transcode as a batch run calls it: the target size comes from the
// settings panel, read afresh for each image.
#pragma once

#include <windows.h>

#include <string>

#include "imagelist/image_entry.h"

HRESULT transcodeImage(const ImageEntry& entry, const std::wstring& outputPath, const GUID& containerFormat,
                       const std::wstring& extension, int quality);
