// Measures the conversion engine against the shortest direct WIC loop doing the
// same work: 4000 x 3000 photos to 1920-wide JPEG at quality 85 and to PNG at
// source size. Each side runs in a child process so that peak working sets stay
// apart. It also times turning one such photo upright.
#include <windows.h>
#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "convert/encoder_lookup.h"
#include "convert/imaging.h"
#include "convert/transcode.h"
#include "convert/upright_source.h"
#include "imagelist/image_list.h"

namespace {

constexpr UINT kPhotoWidth = 4000;
constexpr UINT kPhotoHeight = 3000;
constexpr int kPhotoCount = 20;
// Peak memory comes from one conversion, so a few photos show it.
constexpr int kMemoryPhotoCount = 3;
constexpr PixelSize kJpegTarget{1920, 1440};
constexpr int kQuality = 85;

std::wstring photoPath(const std::wstring& folder, int index)
{
    return folder + L"\\photo-" + std::to_wstring(index) + L".jpg";
}

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

// The work of one transcode written straight down, without the engine's structure.
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

enum Side { kEngine, kDirect };
enum Target { kJpeg, kPng };

// What both sides convert: the probed photos and the encoders found for them.
struct Workload {
    std::wstring folder;
    std::vector<ImageEntry> entries;
    GUID jpeg{};
    GUID png{};
};

bool prepare(const std::wstring& folder, Workload& work)
{
    work.folder = folder;
    work.entries.resize(kPhotoCount);
    for (int i = 0; i < kPhotoCount; ++i)
        if (!probeImage(photoPath(folder, i), work.entries[i])) return false;
    return findEncoder(L".jpg", work.jpeg) && findEncoder(L".png", work.png);
}

HRESULT convertOne(const Workload& work, Side side, Target target, int index)
{
    const ImageEntry& entry = work.entries[index];
    const std::wstring output = work.folder + (side == kEngine ? L"\\engine-out" : L"\\direct-out") +
                                (target == kJpeg ? L".jpg" : L".png");
    if (side == kEngine && target == kJpeg)
        return transcodeImageToSize(entry, kJpegTarget, output, work.jpeg, L".jpg", kQuality);
    if (side == kEngine)
        return transcodeImageToSize(entry, {entry.width, entry.height}, output, work.png, L".png", kQuality);
    if (target == kJpeg)
        return convertDirectly(entry.path, output, GUID_ContainerFormatJpeg, kJpegTarget,
                               GUID_WICPixelFormat24bppBGR, true);
    return convertDirectly(entry.path, output, GUID_ContainerFormatPng, {kPhotoWidth, kPhotoHeight},
                           GUID_WICPixelFormat32bppBGRA, false);
}

// Both sides in one process, image by image, each going first on every other
// image, so that neither gains from a warmer cache or a quieter machine.
// Prints the seconds of engine JPEG, engine PNG, direct JPEG and direct PNG.
int runTimingPhase(const std::wstring& folder)
{
    Workload work;
    if (!prepare(folder, work)) return 1;
    double seconds[2][2] = {};
    for (int i = 0; i < kPhotoCount; ++i) {
        for (const Target target : {kJpeg, kPng}) {
            const Side first = i % 2 == 0 ? kEngine : kDirect;
            for (const Side side : {first, first == kEngine ? kDirect : kEngine}) {
                const auto start = std::chrono::steady_clock::now();
                if (FAILED(convertOne(work, side, target, i))) return 1;
                const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
                seconds[side][target] += elapsed.count();
            }
        }
    }
    std::printf("%.6f %.6f %.6f %.6f\n", seconds[kEngine][kJpeg], seconds[kEngine][kPng], seconds[kDirect][kJpeg],
                seconds[kDirect][kPng]);
    return 0;
}

// One side alone in its own process: prints its peak working set in bytes.
int runMemoryPhase(Side side, const std::wstring& folder)
{
    Workload work;
    if (!prepare(folder, work)) return 1;
    for (int i = 0; i < kMemoryPhotoCount; ++i)
        for (const Target target : {kJpeg, kPng})
            if (FAILED(convertOne(work, side, target, i))) return 1;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 1;
    std::printf("%zu\n", counters.PeakWorkingSetSize);
    return 0;
}

int runPhase(const std::wstring& phase, const std::wstring& folder)
{
    if (phase == L"time") return runTimingPhase(folder);
    return runMemoryPhase(phase == L"engine" ? kEngine : kDirect, folder);
}

// Runs this program for one phase and returns what it printed.
std::string runChild(const std::wstring& phase, const std::wstring& folder)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" --phase " + phase + L" \"" + folder + L"\"";
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

bool measureAndPrint(const std::wstring& folder)
{
    double engineJpeg = 0.0;
    double enginePng = 0.0;
    double directJpeg = 0.0;
    double directPng = 0.0;
    std::size_t enginePeak = 0;
    std::size_t directPeak = 0;
    if (std::sscanf(runChild(L"time", folder).c_str(), "%lf %lf %lf %lf", &engineJpeg, &enginePng, &directJpeg,
                    &directPng) != 4 ||
        std::sscanf(runChild(L"engine", folder).c_str(), "%zu", &enginePeak) != 1 ||
        std::sscanf(runChild(L"direct", folder).c_str(), "%zu", &directPeak) != 1) {
        std::fprintf(stderr, "A conversion failed.\n");
        return false;
    }
    const auto row = [](const char* label, double engineSeconds, double directSeconds, int images) {
        std::printf("%-28s %10.3f/s %10.3f/s %8.3f\n", label, images / engineSeconds, images / directSeconds,
                    engineSeconds / directSeconds);
    };
    std::printf("%-28s %12s %12s %8s\n", "images per second", "engine", "direct", "ratio");
    row("JPEG 1920 wide, quality 85", engineJpeg, directJpeg, kPhotoCount);
    row("PNG at source size", enginePng, directPng, kPhotoCount);
    row("both", engineJpeg + enginePng, directJpeg + directPng, 2 * kPhotoCount);
    std::printf("%-28s %9.1f MB %9.1f MB %8.3f\n", "peak working set", enginePeak / 1048576.0,
                directPeak / 1048576.0, static_cast<double>(enginePeak) / static_cast<double>(directPeak));
    std::printf("ratio = engine / direct, of time and of memory\n");
    return true;
}

// The pipeline's one full-frame copy: a photo stored on its side (orientation 6)
// turned upright from memory, the best of five, so that decoding is left out.
void printUprightTime(std::vector<BYTE>& pixels)
{
    ComPtr<IWICBitmap> bitmap;
    if (FAILED(imagingFactory()->CreateBitmapFromMemory(kPhotoWidth, kPhotoHeight, GUID_WICPixelFormat24bppBGR,
                                                        kPhotoWidth * 3, static_cast<UINT>(pixels.size()),
                                                        pixels.data(), &bitmap)))
        return;
    std::vector<BYTE> upright(pixels.size());
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        ComPtr<IWICBitmapSource> source = bitmap;
        if (FAILED(turnUpright(source, 6)) ||
            FAILED(source->CopyPixels(nullptr, kPhotoHeight * 3, static_cast<UINT>(upright.size()), upright.data())))
            return;
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    std::printf("Turning a %u x %u photo upright (90 degrees): %.1f ms\n", kPhotoWidth, kPhotoHeight, best);
}

int runBenchmark()
{
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder = std::wstring(temp) + L"lumora-bench-" + std::to_wstring(GetCurrentProcessId());
    if (!CreateDirectoryW(folder.c_str(), nullptr)) return 1;
    std::printf("Writing %d photos of %u x %u ...\n", kPhotoCount, kPhotoWidth, kPhotoHeight);
    std::vector<BYTE> pixels(static_cast<size_t>(kPhotoWidth) * kPhotoHeight * 3);
    bool ready = true;
    for (int i = 0; i < kPhotoCount && ready; ++i) {
        paintPhoto(pixels, 1000u + static_cast<unsigned>(i));
        ready = SUCCEEDED(writePhoto(photoPath(folder, i), pixels));
    }
    std::uintmax_t bytes = 0;
    for (int i = 0; i < kPhotoCount; ++i) {
        std::error_code unreadable;
        bytes += std::filesystem::file_size(std::filesystem::path(photoPath(folder, i)), unreadable);
    }
    std::printf("Average photo: %.2f MB\n", static_cast<double>(bytes) / kPhotoCount / 1048576.0);
    if (ready) printUprightTime(pixels);
    ready = ready && measureAndPrint(folder);
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
    return ready ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int result = 1;
    if (SUCCEEDED(createImagingFactory()))
        result = argc == 4 && std::wstring(argv[1]) == L"--phase" ? runPhase(argv[2], argv[3]) : runBenchmark();
    releaseImagingFactory();
    CoUninitialize();
    return result;
}
