// Photos, the direct loop and child runs shared by the benchmarks.
#include "bench/photo_workload.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "convert/imaging.h"

namespace {

// Light falling smoothly across the frame, flat objects with hard edges and
// sensor noise, so that the JPEG files are as large as real 12-megapixel photos.
void paintPhoto(std::vector<BYTE>& pixels, unsigned seed)
{
    std::minstd_rand random(seed);
    std::vector<int> columnLight(kPhotoWidth);
    const double phase = static_cast<double>(random() % 628) / 100.0;
    for (UINT x = 0; x < kPhotoWidth; ++x) columnLight[x] = static_cast<int>(40 * std::sin(x / 300.0 + phase));
    struct Patch {
        UINT left, top, right, bottom;
        int shift[3];
    };
    std::vector<Patch> patches(8);
    for (Patch& patch : patches) {
        patch.left = random() % kPhotoWidth;
        patch.top = random() % kPhotoHeight;
        patch.right = std::min(kPhotoWidth, patch.left + 200 + static_cast<UINT>(random() % 1200));
        patch.bottom = std::min(kPhotoHeight, patch.top + 200 + static_cast<UINT>(random() % 900));
        for (int& shift : patch.shift) shift = static_cast<int>(random() % 121) - 60;
    }
    std::uint32_t noise = seed;
    for (UINT y = 0; y < kPhotoHeight; ++y) {
        BYTE* row = &pixels[static_cast<size_t>(y) * kPhotoWidth * 3];
        const int rowLight = 60 + static_cast<int>(120 * y / kPhotoHeight);
        for (UINT x = 0; x < kPhotoWidth; ++x) {
            int shift[3] = {0, 10, 25};
            for (const Patch& patch : patches) {
                if (x < patch.left || x >= patch.right || y < patch.top || y >= patch.bottom) continue;
                for (int c = 0; c < 3; ++c) shift[c] += patch.shift[c];
            }
            for (int c = 0; c < 3; ++c) {
                noise = noise * 1664525u + 1013904223u;
                const int value = rowLight + columnLight[x] + shift[c] + static_cast<int>(noise >> 26) - 32;
                row[x * 3 + c] = static_cast<BYTE>(std::clamp(value, 0, 255));
            }
        }
    }
}

HRESULT writePhoto(const std::wstring& path, std::vector<BYTE>& pixels)
{
    IWICImagingFactory* factory = imagingFactory();
    ComPtr<IWICBitmap> bitmap;
    RETURN_IF_FAILED(factory->CreateBitmapFromMemory(kPhotoWidth, kPhotoHeight, GUID_WICPixelFormat24bppBGR,
                                                     kPhotoWidth * 3, static_cast<UINT>(pixels.size()),
                                                     pixels.data(), &bitmap));
    ComPtr<IWICStream> stream;
    RETURN_IF_FAILED(factory->CreateStream(&stream));
    RETURN_IF_FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE));
    ComPtr<IWICBitmapEncoder> encoder;
    RETURN_IF_FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder));
    RETURN_IF_FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache));
    ComPtr<IWICBitmapFrameEncode> frame;
    RETURN_IF_FAILED(encoder->CreateNewFrame(&frame, nullptr));
    RETURN_IF_FAILED(frame->Initialize(nullptr));
    RETURN_IF_FAILED(frame->SetSize(kPhotoWidth, kPhotoHeight));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    RETURN_IF_FAILED(frame->SetPixelFormat(&format));
    RETURN_IF_FAILED(frame->WriteSource(bitmap.Get(), nullptr));
    RETURN_IF_FAILED(frame->Commit());
    return encoder->Commit();
}

}  // namespace

std::wstring photoPath(const std::wstring& folder, int index)
{
    return folder + L"\\photo-" + std::to_wstring(index) + L".jpg";
}

std::wstring writePhotos()
{
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"lumora-bench-" + std::to_wstring(GetCurrentProcessId());
    if (!CreateDirectoryW(folder.c_str(), nullptr)) return {};
    std::printf("Writing %d photos of %u x %u ...\n", kPhotoCount, kPhotoWidth, kPhotoHeight);
    std::vector<BYTE> pixels(static_cast<size_t>(kPhotoWidth) * kPhotoHeight * 3);
    std::uintmax_t bytes = 0;
    for (int i = 0; i < kPhotoCount; ++i) {
        paintPhoto(pixels, 1000u + static_cast<unsigned>(i));
        std::error_code unreadable;
        if (FAILED(writePhoto(photoPath(folder, i), pixels))) {
            removeFolder(folder);
            return {};
        }
        bytes += std::filesystem::file_size(std::filesystem::path(photoPath(folder, i)), unreadable);
    }
    std::printf("Average photo: %.2f MB\n", static_cast<double>(bytes) / kPhotoCount / 1048576.0);
    return folder;
}

void removeFolder(const std::wstring& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
}

HRESULT convertDirectly(const std::wstring& input, const std::wstring& output, const GUID& container,
                        PixelSize target, WICPixelFormatGUID format, bool withQuality)
{
    IWICImagingFactory* factory = imagingFactory();
    ComPtr<IWICBitmapDecoder> decoder;
    RETURN_IF_FAILED(factory->CreateDecoderFromFilename(input.c_str(), nullptr, GENERIC_READ,
                                                        WICDecodeMetadataCacheOnLoad, &decoder));
    ComPtr<IWICBitmapFrameDecode> frame;
    RETURN_IF_FAILED(decoder->GetFrame(0, &frame));
    ComPtr<IWICBitmapSource> source = frame;
    if (target.width != kPhotoWidth) {
        ComPtr<IWICBitmapScaler> scaler;
        RETURN_IF_FAILED(factory->CreateBitmapScaler(&scaler));
        RETURN_IF_FAILED(scaler->Initialize(frame.Get(), target.width, target.height, WICBitmapInterpolationModeFant));
        source = scaler;
    }
    ComPtr<IWICStream> stream;
    RETURN_IF_FAILED(factory->CreateStream(&stream));
    RETURN_IF_FAILED(stream->InitializeFromFilename(output.c_str(), GENERIC_WRITE));
    ComPtr<IWICBitmapEncoder> encoder;
    RETURN_IF_FAILED(factory->CreateEncoder(container, nullptr, &encoder));
    RETURN_IF_FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache));
    ComPtr<IWICBitmapFrameEncode> frameEncoder;
    ComPtr<IPropertyBag2> options;
    RETURN_IF_FAILED(encoder->CreateNewFrame(&frameEncoder, &options));
    if (withQuality && options) {
        PROPBAG2 property{};
        property.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_R4;
        value.fltVal = kQuality / 100.0f;
        options->Write(1, &property, &value);
    }
    RETURN_IF_FAILED(frameEncoder->Initialize(options.Get()));
    RETURN_IF_FAILED(frameEncoder->SetSize(target.width, target.height));
    frameEncoder->SetResolution(96.0, 96.0);
    RETURN_IF_FAILED(frameEncoder->SetPixelFormat(&format));
    ComPtr<IWICFormatConverter> converter;
    RETURN_IF_FAILED(factory->CreateFormatConverter(&converter));
    RETURN_IF_FAILED(converter->Initialize(source.Get(), format, WICBitmapDitherTypeErrorDiffusion, nullptr, 0.0,
                                           WICBitmapPaletteTypeCustom));
    RETURN_IF_FAILED(frameEncoder->WriteSource(converter.Get(), nullptr));
    RETURN_IF_FAILED(frameEncoder->Commit());
    return encoder->Commit();
}

std::string runChild(const std::wstring& arguments)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " + arguments;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return {};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[256];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) output.append(buffer, read);
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return output;
}


std::size_t peakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}
