// Brings a source's colours to sRGB, the space every output is shown in: the
// profile from the decoder or the file, converted by Lumora's own colour code
// for matrix/TRC profiles and by the platform's colour engine for the rest.
#pragma once

#include <cstdint>
#include <span>

#include "convert/imaging.h"

// frame gives the decoder's colour contexts; header is the file's first bytes
// (readFileHeader), searched when the decoder gives none. A profile that is
// missing, unusable, sRGB or not transformable leaves source as it is.
HRESULT convertToSrgb(IWICBitmapFrameDecode* frame, std::span<const std::uint8_t> header,
                      ComPtr<IWICBitmapSource>& source);
