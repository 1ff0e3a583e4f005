// Test image files written and read with the process's imaging factory.
#include "support/wic_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "convert/encoder_lookup.h"
#include "convert/imaging.h"
#include "convert/transcode.h"

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    static unsigned counter = 0;
    // Folders an earlier process with the same id left behind are skipped.
    do {
        path_ = std::wstring(base) + L"lumora-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
    } while (!CreateDirectoryW(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

std::wstring TempFolder::file(std::wstring_view name) const
{
    return path_ + L"\\" + std::wstring(name);
}

namespace {

// Smooth gradients with a little deterministic noise, like a photo.
std::vector<BYTE> pictureBgra(std::uint32_t width, std::uint32_t height)
{
    std::vector<BYTE> pixels;
    std::uint32_t noise = 12345;
    const auto channel = [](std::uint32_t value, int jitter) {
        return static_cast<BYTE>(std::clamp(static_cast<int>(value) + jitter, 0, 255));
    };
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int jitter = static_cast<int>(noise >> 28) - 8;
            pixels.insert(pixels.end(), {channel(255 * x / width, jitter), channel(255 * y / height, jitter),
                                         channel(255 * (x + y) / (width + height), -jitter),
                                         static_cast<BYTE>(128 + 127 * x / width)});
        }
    return pixels;
}

HRESULT writeFrame(IWICBitmapEncoder& encoder, std::uint32_t width, std::uint32_t height,
                   WICPixelFormatGUID format, const std::vector<std::uint32_t>& given)
{
    IWICImagingFactory* factory = imagingFactory();
    const auto* givenBytes = reinterpret_cast<const BYTE*>(given.data());
    std::vector<BYTE> pixels = pictureBgra(width, height);
    if (given.size() == width * height) pixels.assign(givenBytes, givenBytes + given.size() * 4);
    ComPtr<IWICBitmap> bitmap;
    RETURN_IF_FAILED(factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGRA, width * 4,
                                                     static_cast<UINT>(pixels.size()), pixels.data(), &bitmap));
    ComPtr<IWICBitmapFrameEncode> frame;
    RETURN_IF_FAILED(encoder.CreateNewFrame(&frame, nullptr));
    RETURN_IF_FAILED(frame->Initialize(nullptr));
    RETURN_IF_FAILED(frame->SetSize(width, height));
    RETURN_IF_FAILED(frame->SetResolution(300.0, 300.0));
    RETURN_IF_FAILED(frame->SetPixelFormat(&format));
    ComPtr<IWICPalette> palette;
    if (format == GUID_WICPixelFormat8bppIndexed) {
        RETURN_IF_FAILED(factory->CreatePalette(&palette));
        RETURN_IF_FAILED(palette->InitializeFromBitmap(bitmap.Get(), 256, FALSE));
        RETURN_IF_FAILED(frame->SetPalette(palette.Get()));
    }
    ComPtr<IWICFormatConverter> converter;
    RETURN_IF_FAILED(factory->CreateFormatConverter(&converter));
    RETURN_IF_FAILED(converter->Initialize(bitmap.Get(), format, WICBitmapDitherTypeNone, palette.Get(), 0.0,
                                           WICBitmapPaletteTypeCustom));
    RETURN_IF_FAILED(frame->WriteSource(converter.Get(), nullptr));
    return frame->Commit();
}

}  // namespace

HRESULT writeTestImage(const std::wstring& path, const GUID& containerFormat, std::uint32_t width,
                       std::uint32_t height, const WICPixelFormatGUID& pixelFormat, std::uint32_t frameCount,
                       const std::vector<std::uint32_t>& pixels)
{
    IWICImagingFactory* factory = imagingFactory();
    ComPtr<IWICStream> stream;
    RETURN_IF_FAILED(factory->CreateStream(&stream));
    RETURN_IF_FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE));
    ComPtr<IWICBitmapEncoder> encoder;
    RETURN_IF_FAILED(factory->CreateEncoder(containerFormat, nullptr, &encoder));
    RETURN_IF_FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache));
    for (std::uint32_t i = 1; i <= frameCount; ++i)
        RETURN_IF_FAILED(writeFrame(*encoder.Get(), width * i, height * i, pixelFormat, pixels));
    return encoder->Commit();
}

std::wstring writeSmallPng(const std::wstring& path)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    EXPECT_EQ(writeTestImage(path, GUID_ContainerFormatPng, 8, 6, GUID_WICPixelFormat24bppBGR), S_OK) << path;
    return path;
}

ImageFacts readImageFacts(const std::wstring& path)
{
    ImageFacts facts;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    facts.result = [&]() -> HRESULT {
        RETURN_IF_FAILED(imagingFactory()->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                                     WICDecodeMetadataCacheOnDemand, &decoder));
        RETURN_IF_FAILED(decoder->GetContainerFormat(&facts.containerFormat));
        RETURN_IF_FAILED(decoder->GetFrameCount(&facts.frameCount));
        RETURN_IF_FAILED(decoder->GetFrame(0, &frame));
        RETURN_IF_FAILED(frame->GetSize(&facts.width, &facts.height));
        RETURN_IF_FAILED(frame->GetPixelFormat(&facts.pixelFormat));
        return frame->GetResolution(&facts.dpiX, &facts.dpiY);
    }();
    return facts;
}

ComPtr<IWICBitmapFrameDecode> readFrame(const std::wstring& path)
{
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (SUCCEEDED(imagingFactory()->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                              WICDecodeMetadataCacheOnDemand, &decoder)))
        decoder->GetFrame(0, &frame);
    return frame;
}

std::vector<std::uint32_t> bgraPixels(IWICBitmapSource* source)
{
    ComPtr<IWICBitmapSource> bgra;
    UINT width = 0, height = 0;
    if (!source || FAILED(source->GetSize(&width, &height)) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, source, &bgra)))
        return {};
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    const HRESULT copied = bgra->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                            reinterpret_cast<BYTE*>(pixels.data()));
    return SUCCEEDED(copied) ? pixels : std::vector<std::uint32_t>{};
}

std::vector<std::uint32_t> readBgraPixels(const std::wstring& path)
{
    return bgraPixels(readFrame(path).Get());
}

HRESULT convertImage(const ImageEntry& entry, PixelSize target, const std::wstring& output,
                     const std::wstring& extension, int quality)
{
    GUID container{};
    if (!findEncoder(extension, container)) return WINCODEC_ERR_COMPONENTNOTFOUND;
    return transcodeImageToSize(entry, target, output, container, extension, quality);
}

ComPtr<IPropertyBag2> jpegFrameOptions()
{
    ComPtr<IStream> memory;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    EXPECT_TRUE(SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &memory)) &&
                SUCCEEDED(imagingFactory()->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) &&
                SUCCEEDED(encoder->Initialize(memory.Get(), WICBitmapEncoderNoCache)) &&
                SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && options);
    return options;
}
