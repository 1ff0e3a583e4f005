// Lays pixels with alpha over white for the formats without an alpha channel,
// as a viewer shows them on a white page: a transparent pixel turns white, a
// half-transparent one halfway to white.
#pragma once

#include "convert/imaging.h"

// Replaces a 32bppBGRA source with its 24bppBGR composite over white; any other
// source has no alpha and stays as it is, without an extra stage.
HRESULT flattenOverWhite(ComPtr<IWICBitmapSource>& source);
