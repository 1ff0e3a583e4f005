// The per-image transcode pipeline: decode frame 0, scale when needed, convert
// to a pixel format the target encoder takes, and encode it into a new file.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <string>
#include <string_view>

#include "convert/exclusive_file_stream.h"
#include "imagelist/image_entry.h"
#include "settings/scaling.h"

// Writes frame 0 of entry.path into a new file at outputPath at the target size,
// turned upright by entry.orientation and, for formats without alpha, laid over
// white. A header or target beyond the size limits fails before anything is
// opened, a frame the decoder reports beyond them before any pixel is copied.
// When anything stands at outputPath it fails with a code isNameTaken accepts
// and touches nothing. The file it creates stays only once the encoder has
// committed: a later failure, or the process ending first, removes it.
HRESULT transcodeImageToSize(const ImageEntry& entry, PixelSize target, const std::wstring& outputPath,
                             const GUID& containerFormat, const std::wstring& extension, int quality);

// Writes "ImageQuality" (quality / 100 as VT_R4) for the lossy-capable formats;
// an absent bag or an encoder that rejects the option is no failure.
void writeQualityOption(IPropertyBag2* options, std::wstring_view extension, int quality);

// The pixel format asked of the encoder for an extension, before it negotiates.
WICPixelFormatGUID requestedPixelFormat(std::wstring_view extension);
