// What the pipeline's own bitmap sources share: reference counting, the two
// interfaces they answer to, their input's resolution, their pixel format, and
// the checks every CopyPixels request must pass before it reaches them.
#pragma once

#include <atomic>
#include <functional>
#include <utility>

#include "convert/imaging.h"

class OwnBitmapSource : public IWICBitmapSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetResolution(double* dpiX, double* dpiY) override;
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override;
    // Their pixels are never indexed.
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette* palette) override;
    // E_INVALIDARG unless the rectangle (all of the image when null) lies
    // inside the image and every row of it fits stride and the buffer.
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize, BYTE* buffer) override;

protected:
    OwnBitmapSource(ComPtr<IWICBitmapSource> input, const WICPixelFormatGUID& format, UINT bytesPerPixel)
        : input_(std::move(input)), bytesPerPixel_(bytesPerPixel), format_(format)
    {
    }
    virtual ~OwnBitmapSource() = default;

    // Fills buffer with an area already checked against the size and the buffer.
    virtual HRESULT copyArea(const WICRect& area, UINT stride, BYTE* buffer) = 0;

    // Pulls the area from the input in bands of rows of inBytesPerPixel each
    // and hands every row, with its index in the area, to useRow, so no
    // full-size copy of the image is ever made.
    using RowUse = std::function<void(const BYTE* in, INT row)>;
    HRESULT pullRows(const WICRect& area, UINT inBytesPerPixel, const RowUse& useRow);
    // Has convertRow turn every input row of the area into its row of the buffer.
    using RowConversion = std::function<void(const BYTE* in, BYTE* out, INT width)>;
    HRESULT copyConvertedRows(const WICRect& area, UINT inBytesPerPixel, UINT stride, BYTE* buffer,
                              const RowConversion& convertRow);

    ComPtr<IWICBitmapSource> input_;
    const UINT bytesPerPixel_;

private:
    std::atomic<ULONG> references_{1};
    WICPixelFormatGUID format_;
};
