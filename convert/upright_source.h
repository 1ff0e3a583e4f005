// Turns decoded, already scaled pixels the way the photo's EXIF orientation
// says, so that they stand as a viewer shows them. Wine's flip-rotator fails to
// copy pixels for every turn but a vertical flip, so this one serves every platform.
#pragma once

#include <cstdint>

#include "convert/imaging.h"

// Replaces source (24bppBGR or 32bppBGRA) with its upright view for an
// orientation of 2-8. A request for the whole image is served from the input
// band by band; any other area needs one copy of the input, made then.
HRESULT turnUpright(ComPtr<IWICBitmapSource>& source, std::uint16_t orientation);
