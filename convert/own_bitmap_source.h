// What the pipeline's own bitmap sources share: reference counting, the two
// interfaces they answer to, their input's resolution, and the checks every
// CopyPixels request must pass.
#pragma once

#include <atomic>
#include <utility>

#include "convert/imaging.h"

class OwnBitmapSource : public IWICBitmapSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetResolution(double* dpiX, double* dpiY) override;
    // Their pixels are never indexed.
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette* palette) override;

protected:
    explicit OwnBitmapSource(ComPtr<IWICBitmapSource> input) : input_(std::move(input)) {}
    virtual ~OwnBitmapSource() = default;

    ComPtr<IWICBitmapSource> input_;

private:
    std::atomic<ULONG> references_{1};
};

// The area a CopyPixels call asks of an image of width x height (all of it for
// a null rect). E_INVALIDARG unless it lies inside the image and every row of
// it fits stride and the buffer.
HRESULT checkCopyRequest(const WICRect* rect, UINT width, UINT height, UINT bytesPerPixel, UINT stride,
                         UINT bufferSize, const BYTE* buffer, WICRect& area);
