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

// Takes ownership of an object just created with its one reference. Not
// ComPtr::Attach: mingw-w64's adds a reference, and the object would never go.
template <typename T>
ComPtr<T> adoptCreated(T* created)
{
    ComPtr<T> owner;
    *owner.ReleaseAndGetAddressOf() = created;
    return owner;
}

// Creates the process's factory; COM must be open on the calling thread.
HRESULT createImagingFactory();
void releaseImagingFactory();
// Gives a worker thread a factory of its own, so that no imaging object is
// shared between apartments; released before the thread closes COM.
HRESULT createThreadImagingFactory();
void releaseThreadImagingFactory();
// Bits per pixel of a WIC pixel format, from its component information.
HRESULT bitsPerPixelOf(const WICPixelFormatGUID& format, UINT& bits);

// The calling thread's own factory when it has one, otherwise the process's;
// null before createImagingFactory succeeded and after releaseImagingFactory.
IWICImagingFactory* imagingFactory();
