// Real image files for tests: a temporary folder of a test's own, a writer that
// encodes a deterministic picture with WIC, and a read-back of what a file holds.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/imaging.h"
#include "imagelist/image_entry.h"
#include "settings/scaling.h"

// A fresh empty folder under the temp path, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring file(std::wstring_view name) const;

private:
    std::wstring path_;
};

// Encodes a gradient-and-noise picture (alpha varies too) in the given pixel
// format, or the nearest one the encoder accepts, at 300 dpi. Frame i is
// (i + 1) times width x height, so multi-frame files have distinct frame sizes.
// Given pixels (0xAARRGGBB, row by row) replace the picture of the frame they fit.
HRESULT writeTestImage(const std::wstring& path, const GUID& containerFormat, std::uint32_t width,
                       std::uint32_t height, const WICPixelFormatGUID& pixelFormat, std::uint32_t frameCount = 1,
                       const std::vector<std::uint32_t>& pixels = {});

// A small PNG at the path, its missing folders created first; returns the path.
std::wstring writeSmallPng(const std::wstring& path);

struct ImageFacts {
    HRESULT result = E_FAIL;  // the first failure while reading, or S_OK
    GUID containerFormat{};
    std::uint32_t frameCount = 0;
    std::uint32_t width = 0;  // frame 0
    std::uint32_t height = 0;
    WICPixelFormatGUID pixelFormat{};
    double dpiX = 0.0;
    double dpiY = 0.0;
};

ImageFacts readImageFacts(const std::wstring& path);

// Frame 0 of the file as its decoder gives it; null when it cannot be read.
ComPtr<IWICBitmapFrameDecode> readFrame(const std::wstring& path);
// The source's pixels as 32-bit BGRA (0xAARRGGBB), row by row; empty when they cannot be read.
std::vector<std::uint32_t> bgraPixels(IWICBitmapSource* source);
// Frame 0 of the file as bgraPixels gives it.
std::vector<std::uint32_t> readBgraPixels(const std::wstring& path);

// Converts entry into output with the encoder installed for extension, or
// fails with WINCODEC_ERR_COMPONENTNOTFOUND where there is none.
HRESULT convertImage(const ImageEntry& entry, PixelSize target, const std::wstring& output,
                     const std::wstring& extension, int quality = 85);

// The options bag the JPEG encoder hands out with a new frame: what is written
// into it reads back, and all the real bags share its vtable.
ComPtr<IPropertyBag2> jpegFrameOptions();
