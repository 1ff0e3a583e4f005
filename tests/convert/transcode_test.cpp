// The transcode pipeline on real files: sources of every decodable kind written
// by WIC, converted into every installed output format, read back with WIC.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "convert/encoder_lookup.h"
#include "convert/imaging.h"
#include "convert/transcode.h"
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

const wchar_t* const kOutputExtensions[] = {L".jpg", L".jfif", L".png", L".webp", L".tif", L".bmp", L".gif"};

// Writes a source (at 300 dpi) and checks it is what the test means it to be.
ImageEntry writeSource(const TempFolder& folder, const SourceKind& kind, std::uint32_t width, std::uint32_t height)
{
    const std::wstring path = folder.file(kind.name);
    EXPECT_EQ(writeTestImage(path, kind.container, width, height, kind.pixelFormat, kind.frames), S_OK);
    const ImageFacts facts = readImageFacts(path);
    EXPECT_EQ(facts.pixelFormat, kind.pixelFormat) << "source " << kind.name;
    EXPECT_EQ(facts.frameCount, kind.frames) << "source " << kind.name;
    return ImageEntry{path, width, height, 0};
}

HRESULT convert(const ImageEntry& entry, PixelSize target, const std::wstring& outputPath,
                const std::wstring& extension, int quality = 85)
{
    GUID container{};
    if (!findEncoder(extension, container)) return WINCODEC_ERR_COMPONENTNOTFOUND;
    return transcodeImageToSize(entry, target, outputPath, container, extension, quality);
}

// Frame 0 as 32-bit BGRA pixels.
HRESULT readPixels(const std::wstring& path, std::vector<std::uint32_t>& pixels)
{
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> bgra;
    UINT width = 0;
    UINT height = 0;
    RETURN_IF_FAILED(imagingFactory()->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                                 WICDecodeMetadataCacheOnDemand, &decoder));
    RETURN_IF_FAILED(decoder->GetFrame(0, &frame));
    RETURN_IF_FAILED(frame->GetSize(&width, &height));
    RETURN_IF_FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), &bgra));
    pixels.resize(static_cast<size_t>(width) * height);
    return bgra->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                            reinterpret_cast<BYTE*>(pixels.data()));
}

// Mean absolute difference per colour channel, alpha left out.
double meanDifference(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b)
{
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF));
    return sum / (3.0 * static_cast<double>(a.size()));
}

TEST(Transcode, EveryInstalledFormatFromEveryDecodableKind)
{
    TempFolder folder;
    const PixelSize targets[] = {{61, 47}, {37, 29}};  // the recorded size, then scaled down
    for (const SourceKind& kind : kSourceKinds) {
        const ImageEntry entry = writeSource(folder, kind, 61, 47);
        size_t formatsWritten = 0;
        for (const wchar_t* extension : kOutputExtensions) {
            GUID container{};
            // Which formats can be written depends on the installed encoders.
            if (!findEncoder(extension, container)) continue;
            ++formatsWritten;
            for (const PixelSize target : targets) {
                SCOPED_TRACE(testing::Message() << kind.name << " to " << extension << " at " << target.width
                                                << " x " << target.height);
                const std::wstring output = folder.file(std::to_wstring(target.width) + L"-" + kind.name + extension);
                ASSERT_EQ(transcodeImageToSize(entry, target, output, container, extension, 85), S_OK);
                const ImageFacts facts = readImageFacts(output);
                ASSERT_EQ(facts.result, S_OK);
                EXPECT_EQ(facts.containerFormat, container);
                EXPECT_EQ(facts.width, target.width);
                EXPECT_EQ(facts.height, target.height);
                EXPECT_EQ(facts.frameCount, 1u);
                EXPECT_NEAR(facts.dpiX, 96.0, 0.1);
                EXPECT_NEAR(facts.dpiY, 96.0, 0.1);
            }
        }
        // Every Windows, and Wine, has encoders for all but WebP.
        EXPECT_GE(formatsWritten, 6u);
    }
}

TEST(Transcode, ScalingOneSideGivesExactlyThatSize)
{
    TempFolder folder;
    const ImageEntry entry = writeSource(folder, kSourceKinds[1], 64, 48);
    for (const PixelSize target : {PixelSize{64, 20}, PixelSize{30, 48}, PixelSize{128, 48}, PixelSize{64, 97}}) {
        SCOPED_TRACE(testing::Message() << target.width << " x " << target.height);
        const std::wstring output = folder.file(std::to_wstring(target.width * 1000 + target.height) + L".png");
        ASSERT_EQ(convert(entry, target, output, L".png"), S_OK);
        const ImageFacts facts = readImageFacts(output);
        EXPECT_EQ(facts.width, target.width);
        EXPECT_EQ(facts.height, target.height);
    }
}

TEST(Transcode, GifOutputHoldsAtMost256Colours)
{
    TempFolder folder;
    const ImageEntry entry = writeSource(folder, kSourceKinds[0], 64, 48);
    std::vector<std::uint32_t> source;
    std::vector<std::uint32_t> pixels;
    ASSERT_EQ(readPixels(entry.path, source), S_OK);
    // Both pictures are opaque, so every distinct value is a distinct colour.
    ASSERT_GT(std::set<std::uint32_t>(source.begin(), source.end()).size(), 256u);
    const std::wstring output = folder.file(L"out.gif");
    ASSERT_EQ(convert(entry, {64, 48}, output, L".gif"), S_OK);
    ASSERT_EQ(readPixels(output, pixels), S_OK);
    ASSERT_EQ(pixels.size(), source.size());
    EXPECT_LE(std::set<std::uint32_t>(pixels.begin(), pixels.end()).size(), 256u);
    // A palette built from the picture stays close to it; a fixed palette
    // of the same size would be about twice as far off.
    EXPECT_LT(meanDifference(source, pixels), 6.0);
}

TEST(Transcode, LosslessOutputsDoNotDependOnQuality)
{
    TempFolder folder;
    const ImageEntry entry = writeSource(folder, kSourceKinds[0], 48, 36);
    for (const std::wstring extension : {L".png", L".bmp", L".gif"}) {
        SCOPED_TRACE(testing::Message() << extension);
        ASSERT_EQ(convert(entry, {48, 36}, folder.file(L"q10" + extension), extension, 10), S_OK);
        ASSERT_EQ(convert(entry, {48, 36}, folder.file(L"q100" + extension), extension, 100), S_OK);
        const std::string low = readFileBytes(folder.file(L"q10" + extension));
        EXPECT_FALSE(low.empty());
        EXPECT_EQ(low, readFileBytes(folder.file(L"q100" + extension)));
    }
}

TEST(Transcode, CreatesOnlyNewFilesAndRemovesOnlyItsOwn)
{
    TempFolder folder;
    const ImageEntry entry = writeSource(folder, kSourceKinds[0], 16, 12);
    const std::string sourceBytes = readFileBytes(entry.path);
    // No encoder exists for this container, so the encoder fails once the file exists.
    const GUID bogus = {0x4c756d6f, 0x7261, 0x4e6f, {0x6e, 0x65, 0x78, 0x69, 0x73, 0x74, 0x65, 0x6e}};
    EXPECT_EQ(transcodeImageToSize(entry, {16, 12}, folder.file(L"late.jpg"), bogus, L".jpg", 85),
              WINCODEC_ERR_COMPONENTNOTFOUND);
    // A source that cannot be opened fails before any output exists.
    const ImageEntry missing{folder.file(L"missing.jpg"), 16, 12, 0};
    EXPECT_EQ(convert(missing, {16, 12}, folder.file(L"early.jpg"), L".jpg"), readImageFacts(missing.path).result);

    // Whatever stands under the name, the source and a dangling link included, is left alone.
    writeFileBytes(folder.file(L"da.jpg"), "schon da");
    ASSERT_TRUE(std::filesystem::create_directory(folder.file(L"ordner.jpg")));
    std::vector<std::wstring> taken = {L"da.jpg", L"ordner.jpg", L"photo.jpg"};
    const SymbolicLink link(folder.file(L"link.jpg"), folder.file(L"ziel.jpg"));
    if (link.made()) taken.push_back(L"link.jpg");
    for (const std::wstring& name : taken)
        EXPECT_TRUE(isNameTaken(convert(entry, {16, 12}, folder.file(name), L".jpg"))) << name;
    EXPECT_EQ(fileNamesIn(folder.path()), (std::vector<std::wstring>{L"da.jpg", L"photo.jpg"}));
    EXPECT_EQ(readFileBytes(folder.file(L"da.jpg")), "schon da");
    EXPECT_EQ(readFileBytes(entry.path), sourceBytes);
    EXPECT_EQ(taken.size(), 4u) << "no dangling link could be made here";
}

// An options bag of the test's own: it records every Write and offers nothing else.
class RecordingBag final : public IPropertyBag2 {
public:
    struct Record {
        std::wstring name;
        VARTYPE type;
        float value;
        bool otherFieldsZero;
    };
    std::vector<Record> records;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        *object = iid == IID_IUnknown || iid == IID_IPropertyBag2 ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    // Lives on the test's stack; counting references would add nothing.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Write(ULONG count, PROPBAG2* properties, VARIANT* values) override
    {
        for (ULONG i = 0; i < count; ++i) {
            const PROPBAG2& p = properties[i];
            const bool otherFieldsZero = p.dwType == 0 && p.vt == 0 && p.cfType == 0 && p.dwHint == 0 &&
                                         p.clsid == GUID{};
            records.push_back({p.pstrName ? p.pstrName : L"", values[i].vt,
                               values[i].vt == VT_R4 ? values[i].fltVal : -1.0f, otherFieldsZero});
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Read(ULONG, PROPBAG2*, IErrorLog*, VARIANT*, HRESULT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CountProperties(ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertyInfo(ULONG, ULONG, PROPBAG2*, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadObject(LPCOLESTR, DWORD, IUnknown*, IErrorLog*) override { return E_NOTIMPL; }
};

struct QualityValue {
    int quality;
    float expected;
};
const QualityValue kQualityValues[] = {{10, 0.1f}, {85, 0.85f}, {100, 1.0f}};

TEST(QualityOption, OnlyLossyCapableFormatsReceiveIt)
{
    const std::pair<const wchar_t*, bool> cases[] = {{L".jpg", true},  {L".jfif", true}, {L".webp", true},
                                                     {L".tif", true},  {L".png", false}, {L".bmp", false},
                                                     {L".gif", false}};
    for (const auto& [extension, written] : cases) {
        for (const QualityValue& q : kQualityValues) {
            SCOPED_TRACE(testing::Message() << "extension " << extension << ", quality " << q.quality);
            RecordingBag bag;
            writeQualityOption(&bag, extension, q.quality);
            ASSERT_EQ(bag.records.size(), written ? 1u : 0u);
            if (!written) continue;
            EXPECT_EQ(bag.records[0].name, L"ImageQuality");
            EXPECT_EQ(bag.records[0].type, VT_R4);
            EXPECT_EQ(bag.records[0].value, q.expected);
            EXPECT_TRUE(bag.records[0].otherFieldsZero);
        }
    }
    // An encoder without a bag gets no option, and that is no failure.
    writeQualityOption(nullptr, L".jpg", 85);
}

TEST(QualityOption, ReadsBackFromTheJpegEncodersBag)
{
    for (const QualityValue& q : kQualityValues) {
        SCOPED_TRACE(testing::Message() << "quality " << q.quality);
        ComPtr<IStream> memory;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        ComPtr<IPropertyBag2> options;
        ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &memory), S_OK);
        ASSERT_EQ(imagingFactory()->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder), S_OK);
        ASSERT_EQ(encoder->Initialize(memory.Get(), WICBitmapEncoderNoCache), S_OK);
        ASSERT_EQ(encoder->CreateNewFrame(&frame, &options), S_OK);
        ASSERT_TRUE(options);
        writeQualityOption(options.Get(), L".jpg", q.quality);
        PROPBAG2 property{};
        property.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
        VARIANT value;
        VariantInit(&value);
        HRESULT readResult = E_FAIL;
        ASSERT_EQ(options->Read(1, &property, nullptr, &value, &readResult), S_OK);
        EXPECT_EQ(value.vt, VT_R4);
        EXPECT_EQ(value.fltVal, q.expected);
        VariantClear(&value);
    }
}

}  // namespace
