// A view of a scaler that asks it for a few rows at a time. Wine's scaler
// copies every source row a request needs in one piece, so a large shrink
// asked for whole would hold a second copy of the decoded frame.
#pragma once

#include "convert/imaging.h"

// Replaces source with a view that splits every CopyPixels request into
// requests of at most rowsPerRequest rows; everything else passes through.
HRESULT limitRowsPerRequest(ComPtr<IWICBitmapSource>& source, UINT rowsPerRequest);
