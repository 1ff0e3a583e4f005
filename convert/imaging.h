// The one imaging factory of the process and the small helpers every imaging
// operation shares. Results travel up as HRESULTs, unchanged.
#pragma once

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

// Returns the failing HRESULT of `expr` from the enclosing function.
#define RETURN_IF_FAILED(expr)                 \
    do {                                       \
        const HRESULT hrFailed_ = (expr);      \
        if (FAILED(hrFailed_)) return hrFailed_; \
    } while (false)

// Creates the factory; COM must be open on the calling thread.
HRESULT createImagingFactory();
void releaseImagingFactory();
// Null before createImagingFactory succeeded and after releaseImagingFactory.
IWICImagingFactory* imagingFactory();
