// The transcode pipeline on real files: sources of every decodable kind written
// by WIC, converted into every installed output format, read back with WIC; and
// what a process killed while writing leaves.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "convert/encoder_lookup.h"
#include "convert/imaging.h"
#include "convert/transcode.h"
#include "convert/upright_source.h"
#include "imagelist/image_list.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {

struct SourceKind {
    const wchar_t* name;
    GUID container;
    WICPixelFormatGUID pixelFormat;
    std::uint32_t frames;
};

const SourceKind kSourceKinds[] = {
    {L"photo.jpg", GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR, 1},
    {L"alpha.png", GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA, 1},
    {L"indexed.gif", GUID_ContainerFormatGif, GUID_WICPixelFormat8bppIndexed, 1},
    {L"indexed.png", GUID_ContainerFormatPng, GUID_WICPixelFormat8bppIndexed, 1},
    {L"grey.png", GUID_ContainerFormatPng, GUID_WICPixelFormat8bppGray, 1},
    // Later frames are larger, so taking any but frame 0 shows in the size.
    {L"pages.tif", GUID_ContainerFormatTiff, GUID_WICPixelFormat32bppBGRA, 3},
};

// Depends on the installed codecs: every Windows and Wine have all these encoders
// but the one for WebP (Windows ships only its decoder).
const std::pair<const wchar_t*, GUID> kOutputs[] = {
    {L".jpg", GUID_ContainerFormatJpeg}, {L".jfif", GUID_ContainerFormatJpeg}, {L".png", GUID_ContainerFormatPng},
    {L".webp", GUID_NULL},               {L".tif", GUID_ContainerFormatTiff},  {L".bmp", GUID_ContainerFormatBmp},
    {L".gif", GUID_ContainerFormatGif}};

// Writes a source (at 300 dpi) and checks it is what the test means it to be.
ImageEntry writeSource(const TempFolder& folder, const SourceKind& kind, std::uint32_t width, std::uint32_t height)
{
    const std::wstring path = folder.file(kind.name);
    EXPECT_EQ(writeTestImage(path, kind.container, width, height, kind.pixelFormat, kind.frames), S_OK);
    const ImageFacts facts = readImageFacts(path);
    EXPECT_EQ(std::tuple(facts.pixelFormat, facts.frameCount), std::tuple(kind.pixelFormat, kind.frames))
        << "source " << kind.name;
    return ImageEntry{path, width, height, 0};
}

TEST(Transcode, EveryInstalledFormatFromEveryDecodableKind)
{
    TempFolder folder;
    // The recorded size, then scaled down, one side only each way, and up.
    const PixelSize targets[] = {{61, 47}, {37, 29}, {61, 20}, {30, 47}, {122, 47}};
    for (const SourceKind& kind : kSourceKinds) {
        const ImageEntry entry = writeSource(folder, kind, 61, 47);
        for (const auto& [extension, expected] : kOutputs) {
            GUID container = GUID_NULL;
            EXPECT_EQ(findEncoder(extension, container), expected != GUID_NULL) << extension;
            EXPECT_EQ(container, expected) << extension;
            if (container == GUID_NULL) continue;
            for (const PixelSize target : targets) {
                SCOPED_TRACE(testing::Message() << kind.name << " to " << extension << " at " << target.width
                                                << " x " << target.height);
                const std::wstring output =
                    folder.file(std::to_wstring(target.width * 1000 + target.height) + L"-" + kind.name + extension);
                ASSERT_EQ(transcodeImageToSize(entry, target, output, container, extension, 85), S_OK);
                // PNG and BMP store the resolution in whole pixels per metre.
                const ImageFacts f = readImageFacts(output);
                EXPECT_EQ(std::tuple(f.result, f.containerFormat, f.width, f.height, f.frameCount, std::lround(f.dpiX),
                                     std::lround(f.dpiY)),
                          std::tuple(S_OK, container, target.width, target.height, 1u, 96l, 96l));
            }
        }
    }
}

TEST(Transcode, GifOutputHoldsAtMost256Colours)
{
    TempFolder folder;
    const ImageEntry entry = writeSource(folder, kSourceKinds[0], 64, 48);
    const std::vector<std::uint32_t> source = readBgraPixels(entry.path);
    const std::wstring output = folder.file(L"out.gif");
    ASSERT_EQ(convertImage(entry, {64, 48}, output, L".gif"), S_OK);
    const std::vector<std::uint32_t> pixels = readBgraPixels(output);
    ASSERT_EQ(pixels.size(), source.size());
    // The source has far more colours; opaque, every distinct value is a distinct colour.
    EXPECT_LE(std::set<std::uint32_t>(pixels.begin(), pixels.end()).size(), 256u);
    // A palette built from the picture stays close to it, by mean difference per colour
    // channel; a fixed palette of the same size would be about twice as far off.
    double difference = 0.0;
    for (size_t i = 0; i < pixels.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            difference += std::abs(int(pixels[i] >> shift & 255) - int(source[i] >> shift & 255));
    EXPECT_LT(difference / (3.0 * static_cast<double>(pixels.size())), 6.0);
}

TEST(Transcode, PhotosAtTheirOwnSizeOrScaledAreTheirPixelsTurnedUpright)
{
    // Stored sides and, for every orientation, how a shown pixel (x, y) finds its
    // stored one: through (y, x) when the sides swap, then columns or rows reversed.
    constexpr std::uint32_t kWidth = 12, kHeight = 8;
    const std::array<bool, 3> kTurns[] = {{}, {0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1},
                                          {1, 0, 0}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}};
    TempFolder folder;
    // Every stored pixel distinct, so that a pixel off by one shows anywhere.
    std::string rgb;
    for (std::uint32_t y = 0; y < kHeight; ++y)
        for (std::uint32_t x = 0; x < kWidth; ++x)
            rgb += {char(20 * x + 5), char(30 * y + 5), char(200 - 10 * x - 5 * y)};
    ComPtr<IWICBitmap> stored;
    ASSERT_EQ(imagingFactory()->CreateBitmapFromMemory(kWidth, kHeight, GUID_WICPixelFormat24bppRGB, kWidth * 3,
                                                       UINT(rgb.size()), reinterpret_cast<BYTE*>(rgb.data()), &stored),
              S_OK);
    for (const std::uint32_t divisor : {1u, 2u}) {
        // What every orientation turns: the platform's scaler on the stored pixels
        // (nearest-neighbour under Wine, which this does not rely on).
        const std::uint32_t width = kWidth / divisor, height = kHeight / divisor;
        ComPtr<IWICBitmapScaler> scaler;
        ComPtr<IWICBitmapSource> scaledBgra;
        ASSERT_EQ(imagingFactory()->CreateBitmapScaler(&scaler), S_OK);
        ASSERT_EQ(scaler->Initialize(stored.Get(), width, height, WICBitmapInterpolationModeFant), S_OK);
        ASSERT_EQ(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, scaler.Get(), &scaledBgra), S_OK);
        const std::vector<std::uint32_t> scaled = bgraPixels(scaledBgra.Get());
        ASSERT_EQ(scaled.size(), width * height);
        for (std::uint16_t orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE(testing::Message() << "orientation " << orientation << ", sides divided by " << divisor);
            const std::wstring name = folder.file(std::to_wstring(10 * divisor + orientation) + L".tif");
            // An uncompressed RGB TIFF of one strip; the pixels follow the header and the IFD of ten entries.
            writeFileBytes(name, tiffBytes(false, {{256, 3, 1, kWidth}, {257, 3, 1, kHeight}, {258, 3, 1, 8},
                                                   {259, 3, 1, 1}, {262, 3, 1, 2}, {273, 4, 1, 134},
                                                   {274, 3, 1, orientation}, {277, 3, 1, 3}, {278, 3, 1, kHeight},
                                                   {279, 4, 1, kWidth * kHeight * 3}}, rgb));
            ImageEntry entry;
            ASSERT_TRUE(probeImage(name, entry));
            const PixelSize target{entry.width / divisor, entry.height / divisor};
            ASSERT_EQ(convertImage(entry, target, name + L".png", L".png"), S_OK);
            std::vector<std::uint32_t> pixels = readBgraPixels(name + L".png"), expected;
            const auto [swap, reverseColumns, reverseRows] = kTurns[orientation];
            for (std::uint32_t y = 0; y < target.height; ++y)
                for (std::uint32_t x = 0; x < target.width; ++x) {
                    const std::uint32_t column = swap ? y : x, row = swap ? x : y;
                    expected.push_back(scaled[(reverseRows ? height - 1 - row : row) * width +
                                              (reverseColumns ? width - 1 - column : column)]);
                }
            ASSERT_EQ(pixels, expected);
            // Pulled a row at a time, as Windows' encoders pull, the turn gives the same.
            ComPtr<IWICBitmapSource> turned = scaledBgra;
            ASSERT_EQ(turnUpright(turned, orientation), S_OK);
            const UINT rowBytes = target.width * 4;
            for (INT y = 0; y < INT(target.height); ++y) {
                const WICRect line{0, y, INT(target.width), 1};
                BYTE* const into = reinterpret_cast<BYTE*>(&pixels[y * target.width]);
                ASSERT_EQ(turned->CopyPixels(&line, rowBytes, rowBytes, into), S_OK);
            }
            EXPECT_EQ(pixels, expected);
        }
    }
}

TEST(Transcode, AGreatShrinkAskedForInPiecesEqualsTheScalersWholeImage)
{
    // Large enough that the scaler is asked for fewer rows than the target has.
    const TempFolder folder;
    const std::wstring source = folder.file(L"gross.png"), output = folder.file(L"klein.png");
    ASSERT_EQ(writeTestImage(source, GUID_ContainerFormatPng, 2048, 2048, GUID_WICPixelFormat32bppBGRA), S_OK);
    ImageEntry entry;
    ASSERT_TRUE(probeImage(source, entry));
    ASSERT_EQ(convertImage(entry, {64, 64}, output, L".png"), S_OK);
    ComPtr<IWICBitmapScaler> scaler;
    ASSERT_EQ(imagingFactory()->CreateBitmapScaler(&scaler), S_OK);
    ASSERT_EQ(scaler->Initialize(readFrame(source).Get(), 64, 64, WICBitmapInterpolationModeFant), S_OK);
    EXPECT_EQ(readBgraPixels(output), bgraPixels(scaler.Get()));
}

TEST(Transcode, TransparencyTurnsWhiteWithoutAnAlphaChannelAndStaysWithOne)
{
    TempFolder folder;
    // Thirds of invisible green, half-transparent blue and opaque red.
    const std::uint32_t stored[] = {0x0000FF00, 0x800000FF, 0xFFFF0000};
    const std::uint32_t overWhite[] = {0xFFFFFFFF, 0xFF7F7FFF, 0xFFFF0000};
    std::vector<std::uint32_t> bgra(30 * 8);
    for (size_t i = 0; i < bgra.size(); ++i) bgra[i] = stored[i % 30 / 10];
    const ImageEntry entry{folder.file(L"logo.png"), 30, 8, 0};
    ASSERT_EQ(writeTestImage(entry.path, GUID_ContainerFormatPng, 30, 8, GUID_WICPixelFormat32bppBGRA, 1, bgra), S_OK);
    // JPEG blurs the edges between thirds; GIF's palette rounds the colours.
    for (const auto& [extension, expected, tolerance] :
         {std::tuple{std::wstring(L".jpg"), overWhite, 12}, {L".bmp", overWhite, 1}, {L".gif", overWhite, 6},
          {L".png", stored, 0}, {L".tif", stored, 1}}) {
        SCOPED_TRACE(testing::Message() << extension);
        ASSERT_EQ(convertImage(entry, {30, 8}, folder.file(L"out" + extension), extension), S_OK);
        bgra = readBgraPixels(folder.file(L"out" + extension));
        ASSERT_EQ(bgra.size(), 240u);
        for (int third = 0; third < 3; ++third)
            for (int shift = 0; shift < 32; shift += 8)
                EXPECT_NEAR((bgra[125 + 10 * third] >> shift) & 0xFF, (expected[third] >> shift) & 0xFF, tolerance);
    }
    EXPECT_TRUE(DeleteFileW(entry.path.c_str())) << "the source is still open";
}

TEST(Transcode, CreatesOnlyNewFilesAndLeavesWhatStandsUnderTheNameAlone)
{
    TempFolder folder;
    const ImageEntry entry = writeSource(folder, kSourceKinds[0], 16, 12);
    const std::string sourceBytes = readFileBytes(entry.path);
    // A source that cannot be opened fails before any output exists.
    const ImageEntry missing{folder.file(L"missing.jpg"), 16, 12, 0};
    EXPECT_EQ(convertImage(missing, {16, 12}, folder.file(L"early.jpg"), L".jpg"), readImageFacts(missing.path).result);

    // Whatever stands under the name, the source, a dangling link and a file
    // another program deleted but still holds open included, is left alone.
    writeFileBytes(folder.file(L"da.jpg"), "schon da");
    ASSERT_TRUE(std::filesystem::create_directory(folder.file(L"ordner.jpg")));
    const HANDLE pending = CreateFileW(folder.file(L"weg.jpg").c_str(), GENERIC_WRITE | DELETE,
                                       FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, 0, nullptr);
    FILE_DISPOSITION_INFO deleted{TRUE};
    ASSERT_TRUE(SetFileInformationByHandle(pending, FileDispositionInfo, &deleted, sizeof deleted));
    std::vector<std::wstring> taken = {L"da.jpg", L"ordner.jpg", L"photo.jpg", L"weg.jpg"};
    const SymbolicLink link(folder.file(L"link.jpg"), folder.file(L"ziel.jpg"));
    if (link.made()) taken.push_back(L"link.jpg");
    for (const std::wstring& name : taken)
        EXPECT_TRUE(isNameTaken(convertImage(entry, {16, 12}, folder.file(name), L".jpg"))) << name;
    CloseHandle(pending);
    EXPECT_EQ(fileNamesIn(folder.path()), (std::vector<std::wstring>{L"da.jpg", L"photo.jpg"}));
    EXPECT_EQ(readFileBytes(folder.file(L"da.jpg")), "schon da");
    EXPECT_EQ(readFileBytes(entry.path), sourceBytes);
    EXPECT_EQ(taken.size(), 5u) << "no dangling link could be made here";
}

constexpr wchar_t kChildFolder[] = L"LUMORA_KILLED_CHILD_FOLDER";
constexpr std::uint32_t kLargeSide = 3000;

// The child's half of KilledWhileWriting.LeavesNothingUnderTheName.
TEST(KilledWhileWriting, Child)
{
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(kChildFolder, folder, MAX_PATH)) GTEST_SKIP() << "runs only as a killed child";
    const ImageEntry large{std::wstring(folder) + L"\\large.png", kLargeSide, kLargeSide};
    convertImage(large, {kLargeSide, kLargeSide}, std::wstring(folder) + L"\\out.png", L".png");
}

TEST(KilledWhileWriting, LeavesNothingUnderTheName)
{
    TempFolder folder;
    // Noisy enough that encoding it takes the child far longer than noticing the file.
    ASSERT_EQ(writeTestImage(folder.file(L"large.png"), GUID_ContainerFormatPng, kLargeSide, kLargeSide,
                             GUID_WICPixelFormat32bppBGRA), S_OK);
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" --gtest_filter=KilledWhileWriting.Child";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    SetEnvironmentVariableW(kChildFolder, folder.path().c_str());
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableW(kChildFolder, nullptr);
    ASSERT_TRUE(started);
    // Listed, not opened: a file pending deletion cannot be opened.
    const auto outputListed = [&folder] { return fileNamesIn(folder.path()).size() == 2; };
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (!outputListed() && GetTickCount64() < deadline && WaitForSingleObject(child.hProcess, 1) == WAIT_TIMEOUT) {
    }
    const bool writing = outputListed() && WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT;
    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, 10000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    ASSERT_TRUE(writing) << "the child was not caught writing";
    EXPECT_EQ(fileNamesIn(folder.path()), std::vector<std::wstring>{L"large.png"});
}

// The JPEG encoder's own options bag takes "ImageQuality", so it shows whether
// the option is written, whichever extension asks.
TEST(QualityOption, WrittenAsAFractionForTheLossyCapableFormatsOnly)
{
    const std::pair<const wchar_t*, bool> cases[] = {{L".jpg", true},  {L".jfif", true}, {L".webp", true},
                                                     {L".tif", true},  {L".png", false}, {L".bmp", false},
                                                     {L".gif", false}};
    for (const auto& [extension, written] : cases) {
        for (const auto& [quality, expected] : {std::pair{10, 0.1f}, {85, 0.85f}, {100, 1.0f}}) {
            SCOPED_TRACE(testing::Message() << "extension " << extension << ", quality " << quality);
            const ComPtr<IPropertyBag2> options = jpegFrameOptions();
            ASSERT_TRUE(options);
            writeQualityOption(options.Get(), extension, quality);
            PROPBAG2 property{};
            property.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
            VARIANT value{};
            HRESULT readResult = E_FAIL;
            ASSERT_EQ(options->Read(1, &property, nullptr, &value, &readResult), S_OK);
            EXPECT_EQ(value.vt == VT_R4 && value.fltVal == expected, written) << value.vt;
            VariantClear(&value);
        }
    }
    // An encoder without a bag gets no option, and that is no failure.
    writeQualityOption(nullptr, L".jpg", 85);
}

}  // namespace
