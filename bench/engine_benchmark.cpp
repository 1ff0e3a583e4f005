// Measures the conversion engine against the shortest direct WIC loop doing the
// same work: 4000 x 3000 photos to 1920-wide JPEG at quality 85 and to PNG at
// source size; and what turning a photo stored on its side adds. Each side runs
// in a child process so that peak working sets stay apart.
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/photo_workload.h"
#include "convert/encoder_lookup.h"
#include "convert/imaging.h"
#include "convert/transcode.h"
#include "imagelist/image_list.h"
#include "support/colour_files.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {

// Peak memory comes from one conversion, so a few photos show it.
constexpr int kMemoryPhotoCount = 3;

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
    // The engine writes only where nothing stands, so both sides start from no file.
    DeleteFileW(output.c_str());
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
    std::printf("%zu\n", peakWorkingSet());
    return 0;
}

bool measureAndPrint(const std::wstring& folder)
{
    double engineJpeg = 0.0;
    double enginePng = 0.0;
    double directJpeg = 0.0;
    double directPng = 0.0;
    std::size_t enginePeak = 0;
    std::size_t directPeak = 0;
    const auto phase = [&folder](const wchar_t* name) {
        return runChild(L"--phase " + std::wstring(name) + L" \"" + folder + L"\"");
    };
    if (std::sscanf(phase(L"time").c_str(), "%lf %lf %lf %lf", &engineJpeg, &enginePng, &directJpeg, &directPng) != 4 ||
        std::sscanf(phase(L"engine").c_str(), "%zu", &enginePeak) != 1 ||
        std::sscanf(phase(L"direct").c_str(), "%zu", &directPeak) != 1) {
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

// A photo stored on its side against the same picture stored upright: photo 0
// turned into 3000 x 4000 with EXIF orientation 6, so that both show 4000 x 3000
// and both become 1920 x 1440 JPEGs, and only the turn differs.
constexpr int kTurnRuns = 11;

std::wstring turnedPhotoPath(const std::wstring& folder)
{
    return folder + L"\\turned.jpg";
}

bool writeTurnedPhoto(const std::wstring& folder)
{
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> bgra;
    std::vector<std::uint32_t> shown(static_cast<size_t>(kPhotoWidth) * kPhotoHeight);
    if (FAILED(imagingFactory()->CreateDecoderFromFilename(photoPath(folder, 0).c_str(), nullptr, GENERIC_READ,
                                                           WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), &bgra)) ||
        FAILED(bgra->CopyPixels(nullptr, kPhotoWidth * 4, static_cast<UINT>(shown.size() * 4),
                                reinterpret_cast<BYTE*>(shown.data()))))
        return false;
    // Orientation 6 shows stored row r as column kPhotoWidth - 1 - r.
    std::vector<std::uint32_t> stored(shown.size());
    for (UINT r = 0; r < kPhotoWidth; ++r)
        for (UINT c = 0; c < kPhotoHeight; ++c)
            stored[static_cast<size_t>(r) * kPhotoHeight + c] =
                shown[static_cast<size_t>(c) * kPhotoWidth + kPhotoWidth - 1 - r];
    const std::wstring path = turnedPhotoPath(folder);
    if (FAILED(writeTestImage(path, GUID_ContainerFormatJpeg, kPhotoHeight, kPhotoWidth, GUID_WICPixelFormat24bppBGR,
                              1, stored)))
        return false;
    writeFileBytes(path, withExif(readFileBytes(path), tiffBytes(false, {{274, 3, 1, 6}})));
    return true;
}

HRESULT convertToJpeg(const ImageEntry& entry, const GUID& jpeg, const std::wstring& folder)
{
    const std::wstring output = folder + L"\\turn-out.jpg";
    DeleteFileW(output.c_str());
    return transcodeImageToSize(entry, kJpegTarget, output, jpeg, L".jpg", kQuality);
}

// "turn-time": the median seconds of the upright and of the turned photo, each
// going first on every other run; "turn-1", "turn-6": one alone, its peak working set.
int runTurnPhase(const std::wstring& phase, const std::wstring& folder)
{
    ImageEntry entries[2];
    GUID jpeg{};
    if (!probeImage(photoPath(folder, 0), entries[0]) || !probeImage(turnedPhotoPath(folder), entries[1]) ||
        !findEncoder(L".jpg", jpeg))
        return 1;
    if (phase != L"turn-time") {
        const ImageEntry& entry = entries[phase == L"turn-6" ? 1 : 0];
        for (int run = 0; run < kMemoryPhotoCount; ++run)
            if (FAILED(convertToJpeg(entry, jpeg, folder))) return 1;
        std::printf("%zu\n", peakWorkingSet());
        return 0;
    }
    // The median of each, as other work on the machine only ever adds time.
    std::vector<double> seconds[2];
    for (int run = 0; run < kTurnRuns; ++run) {
        for (const int which : {run % 2, 1 - run % 2}) {
            const auto start = std::chrono::steady_clock::now();
            if (FAILED(convertToJpeg(entries[which], jpeg, folder))) return 1;
            seconds[which].push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
    }
    for (std::vector<double>& times : seconds)
        std::nth_element(times.begin(), times.begin() + kTurnRuns / 2, times.end());
    std::printf("%.6f %.6f\n", seconds[0][kTurnRuns / 2], seconds[1][kTurnRuns / 2]);
    return 0;
}

bool measureTurnAndPrint(const std::wstring& folder)
{
    double seconds[2] = {};
    std::size_t peak[2] = {};
    const auto phase = [&folder](const wchar_t* name) {
        return runChild(L"--phase " + std::wstring(name) + L" \"" + folder + L"\"");
    };
    if (!writeTurnedPhoto(folder) ||
        std::sscanf(phase(L"turn-time").c_str(), "%lf %lf", &seconds[0], &seconds[1]) != 2 ||
        std::sscanf(phase(L"turn-1").c_str(), "%zu", &peak[0]) != 1 ||
        std::sscanf(phase(L"turn-6").c_str(), "%zu", &peak[1]) != 1) {
        std::fprintf(stderr, "Converting the turned photo failed.\n");
        return false;
    }
    std::printf("\n%-28s %12s %12s\n", "4000 x 3000 to 1920 JPEG", "median s", "peak");
    std::printf("%-28s %12.3f %9.1f MB\n", "unrotated", seconds[0], peak[0] / 1048576.0);
    std::printf("%-28s %12.3f %9.1f MB\n", "EXIF orientation 6", seconds[1], peak[1] / 1048576.0);
    std::printf("orientation 6: %.3f x the time (goal <= 1.10), %+.1f MB peak (goal <= +16)\n", seconds[1] / seconds[0],
                (static_cast<double>(peak[1]) - static_cast<double>(peak[0])) / 1048576.0);
    return true;
}

int runPhase(const std::wstring& phase, const std::wstring& folder)
{
    if (phase == L"time") return runTimingPhase(folder);
    if (phase.starts_with(L"turn-")) return runTurnPhase(phase, folder);
    return runMemoryPhase(phase == L"engine" ? kEngine : kDirect, folder);
}

// The same photos once more with an Adobe RGB profile in APP2, each converted
// to 1920-wide JPEG right after its untagged twin, taking turns going first.
bool printTaggedPhotoRate(const std::wstring& folder)
{
    const std::string profile = rgbProfile(kAdobeRgbColorants, curvTag({563}));
    Workload work;
    if (!prepare(folder, work)) return false;
    double seconds[2] = {};
    for (int i = 0; i < kPhotoCount; ++i) {
        ImageEntry tagged = work.entries[i];
        tagged.path = folder + L"\\tagged.jpg";
        writeFileBytes(tagged.path, withSegments(readFileBytes(work.entries[i].path), iccSegment(1, 1, profile)));
        for (const int side : {i % 2, 1 - i % 2}) {
            const std::wstring output = folder + L"\\tagged-out.jpg";
            DeleteFileW(output.c_str());
            const auto start = std::chrono::steady_clock::now();
            if (FAILED(transcodeImageToSize(side == 0 ? work.entries[i] : tagged, kJpegTarget, output, work.jpeg,
                                            L".jpg", kQuality)))
                return false;
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            seconds[side] += elapsed.count();
        }
    }
    std::printf("%-28s %10.3f/s %10.3f/s %8.3f\n", "Adobe RGB tagged, JPEG 1920", kPhotoCount / seconds[1],
                kPhotoCount / seconds[0], seconds[1] / seconds[0]);
    std::printf("(engine: tagged, then untagged; ratio = tagged / untagged time)\n");
    return true;
}

int runBenchmark()
{
    const std::wstring folder = writePhotos();
    if (folder.empty()) return 1;
    if (!printTaggedPhotoRate(folder)) std::fprintf(stderr, "A tagged conversion failed.\n");
    const bool measured = measureAndPrint(folder) && measureTurnAndPrint(folder);
    removeFolder(folder);
    return measured ? 0 : 1;
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
