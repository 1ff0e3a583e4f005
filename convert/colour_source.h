// The colour stage for matrix/TRC profiles: a view of its input converted to
// sRGB as the pixels are pulled, 16-bit inputs before they become 8-bit.
#pragma once

#include "convert/icc_profile.h"
#include "convert/imaging.h"

// Replaces source with its sRGB view under profile (an RGB or grey one); a
// profile equal to sRGB leaves source as it is, without a stage.
HRESULT convertMatrixProfile(ComPtr<IWICBitmapSource>& source, const IccProfile& profile);
