// Colours under embedded profiles on real files: what lands on disk must be
// the image's sRGB colours, computed here independently in double precision
// from the published colorants and curves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "convert/imaging.h"
#include "support/colour_files.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {

using Rgb = std::array<double, 3>;
constexpr int kWidth = 64;
constexpr int kHeight = 48;

// Frame 0 as RGBA, 16 bits a channel (8-bit values widened as v * 257); empty
// when it cannot be read.
std::vector<std::uint16_t> readRgba64(const std::wstring& path)
{
    const ComPtr<IWICBitmapFrameDecode> frame = readFrame(path);
    WICPixelFormatGUID format{};
    std::vector<std::uint16_t> values(kWidth * kHeight * 4);
    // Wine converts 64-bit RGBA to nothing wider, and nothing else to it.
    if (frame && SUCCEEDED(frame->GetPixelFormat(&format)) && format == GUID_WICPixelFormat64bppRGBA)
        return SUCCEEDED(frame->CopyPixels(nullptr, kWidth * 8, kWidth * kHeight * 8,
                                           reinterpret_cast<BYTE*>(values.data())))
                   ? values
                   : std::vector<std::uint16_t>{};
    values.clear();
    for (const std::uint32_t pixel : bgraPixels(frame.Get()))
        for (const int shift : {16, 8, 0, 24})
            values.push_back(static_cast<std::uint16_t>(257 * (pixel >> shift & 255)));
    return values;
}

// The bytes of a picture written in the container and pixel format.
std::string sourceBytes(const TempFolder& folder, const GUID& container, const WICPixelFormatGUID& format)
{
    // Varied 16-bit values, not only the multiples of 257 that 8-bit values widen to.
    std::vector<std::uint16_t> wide(kWidth * kHeight * 4);
    for (std::size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<std::uint16_t>(i % 4 == 3 ? 65535 - 24 * i : 977 * (i / 4) * (i % 4 + 3));
    if (format == GUID_WICPixelFormat64bppRGBA) return rgba64Png(kWidth, kHeight, wide);
    EXPECT_EQ(writeTestImage(folder.file(L"plain"), container, kWidth, kHeight, format), S_OK);
    EXPECT_EQ(readImageFacts(folder.file(L"plain")).pixelFormat, format);
    return readFileBytes(folder.file(L"plain"));
}

// Converts the bytes as a source at its own size to PNG; the output's path.
std::wstring convertToPng(const TempFolder& folder, const std::wstring& name, const std::string& bytes)
{
    writeFileBytes(folder.file(name), bytes);
    const ImageEntry entry{folder.file(name), kWidth, kHeight, 0};
    EXPECT_EQ(convertImage(entry, {kWidth, kHeight}, folder.file(name + L".png"), L".png"), S_OK);
    return folder.file(name + L".png");
}

// sRGB (0..1) of stored values (0..1) under a profile's colorants and curve,
// through D50 XYZ, the published Bradford D50-to-D65 and XYZ-to-sRGB matrices.
Rgb expectedSrgb(const Colorants& colorants, const std::function<double(double)>& curve, const Rgb& stored)
{
    constexpr double kToD65[3][3] = {{0.9555766, -0.0230393, 0.0631636}, {-0.0282895, 1.0099416, 0.0210077},
                                     {0.0122982, -0.0204830, 1.3299098}};
    constexpr double kToSrgb[3][3] = {{3.2404542, -1.5371385, -0.4985314}, {-0.9692660, 1.8760108, 0.0415560},
                                      {0.0556434, -0.2040259, 1.0572252}};
    Rgb d50{}, d65{}, srgb{};
    for (int row = 0; row < 3; ++row)
        for (int channel = 0; channel < 3; ++channel) d50[row] += colorants[channel][row] * curve(stored[channel]);
    for (int row = 0; row < 3; ++row)
        for (int k = 0; k < 3; ++k) d65[row] += kToD65[row][k] * d50[k];
    for (int row = 0; row < 3; ++row) {
        for (int k = 0; k < 3; ++k) srgb[row] += kToSrgb[row][k] * d65[k];
        const double x = std::clamp(srgb[row], 0.0, 1.0);
        srgb[row] = x <= 0.0031308 ? 12.92 * x : 1.055 * std::pow(x, 1 / 2.4) - 0.055;
    }
    return srgb;
}

double srgbCurve(double x)
{
    return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
}

Rgb labOf(const Rgb& srgb)
{
    constexpr double kToXyz[3][3] = {{0.4124564, 0.3575761, 0.1804375}, {0.2126729, 0.7151522, 0.0721750},
                                     {0.0193339, 0.1191920, 0.9503041}};
    constexpr Rgb kWhite{0.95047, 1.0, 1.08883};
    Rgb f{};
    for (int row = 0; row < 3; ++row) {
        double xyz = 0.0;
        for (int k = 0; k < 3; ++k) xyz += kToXyz[row][k] * srgbCurve(srgb[k]);
        const double t = xyz / kWhite[row];
        f[row] = t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    }
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

// CIEDE2000 between two sRGB colours (0..1).
double deltaE2000(const Rgb& first, const Rgb& second)
{
    const Rgb lab1 = labOf(first), lab2 = labOf(second);
    const double pi = std::numbers::pi, degrees = 180 / pi;
    const double c7 = std::pow((std::hypot(lab1[1], lab1[2]) + std::hypot(lab2[1], lab2[2])) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(c7 / (c7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * lab1[1], a2 = (1 + g) * lab2[1];
    const double c1 = std::hypot(a1, lab1[2]), c2 = std::hypot(a2, lab2[2]);
    double h1 = std::atan2(lab1[2], a1) * degrees, h2 = std::atan2(lab2[2], a2) * degrees;
    h1 += h1 < 0 ? 360 : 0;
    h2 += h2 < 0 ? 360 : 0;
    double dh = c1 * c2 == 0 ? 0 : h2 - h1;
    dh += dh > 180 ? -360 : dh < -180 ? 360 : 0;
    const double dL = lab2[0] - lab1[0], dC = c2 - c1, dH = 2 * std::sqrt(c1 * c2) * std::sin(dh / 2 / degrees);
    const double meanL = (lab1[0] + lab2[0]) / 2, meanC = (c1 + c2) / 2;
    double meanH = h1 + h2;
    if (c1 * c2 != 0 && std::abs(h1 - h2) > 180) meanH += h1 + h2 < 360 ? 360 : -360;
    meanH /= c1 * c2 == 0 ? 1 : 2;
    const double t = 1 - 0.17 * std::cos((meanH - 30) / degrees) + 0.24 * std::cos(2 * meanH / degrees) +
                     0.32 * std::cos((3 * meanH + 6) / degrees) - 0.20 * std::cos((4 * meanH - 63) / degrees);
    const double sL = 1 + 0.015 * std::pow(meanL - 50, 2) / std::sqrt(20 + std::pow(meanL - 50, 2));
    const double sC = 1 + 0.045 * meanC, sH = 1 + 0.015 * meanC * t;
    const double meanC7 = std::pow(meanC, 7);
    const double rT = -2 * std::sqrt(meanC7 / (meanC7 + std::pow(25.0, 7))) *
                      std::sin(60 * std::exp(-std::pow((meanH - 275) / 25, 2)) / degrees);
    return std::sqrt(std::pow(dL / sL, 2) + std::pow(dC / sC, 2) + std::pow(dH / sH, 2) + rT * dC / sC * dH / sH);
}

// A source's name and bytes, and the colorants and curve its profile stands for.
using ProfiledSource = std::tuple<const wchar_t*, std::string, Colorants, std::function<double(double)>>;

// jpeg with the profile in one APP2 segment.
std::string withApp2(const std::string& jpeg, const std::string& profile)
{
    return withSegments(jpeg, iccSegment(1, 1, profile));
}

std::function<double(double)> gamma(double g)
{
    return [g](double x) { return std::pow(x, g); };
}

// The curve sampled as a 1024-entry "curv" table.
std::vector<std::uint16_t> sampled(const std::function<double(double)>& curve)
{
    std::vector<std::uint16_t> table(1024);
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = std::lround(65535 * curve(i / 1023.0));
    return table;
}

TEST(Colour, EmbeddedProfilesComeOutAsTheImagesSrgbColours)
{
    TempFolder folder;
    const std::string jpeg = sourceBytes(folder, GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR);
    const std::string png = sourceBytes(folder, GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA);
    const std::string png64 = sourceBytes(folder, GUID_ContainerFormatPng, GUID_WICPixelFormat64bppRGBA);
    const std::string greyPng = sourceBytes(folder, GUID_ContainerFormatPng, GUID_WICPixelFormat8bppGray);
    const std::string greyJpeg = sourceBytes(folder, GUID_ContainerFormatJpeg, GUID_WICPixelFormat8bppGray);
    const std::string adobe = rgbProfile(kAdobeRgbColorants, curvTag({563}));
    const std::string p3 = rgbProfile(kDisplayP3Colorants, srgbParaTag(), 4);
    const std::string proPhoto = rgbProfile(kProPhotoColorants, curvTag(sampled(gamma(1.8))), 4);
    // Given in reverse, as only the sequence numbers order them.
    const std::size_t half = adobe.size() / 2;
    const std::string split = iccSegment(2, 2, adobe.substr(half)) + iccSegment(1, 2, adobe.substr(0, half));
    // Grey as equal thirds of the D50 white, so the colorant maths serves it too.
    const std::array<double, 3> third{0.9642 / 3, 1.0 / 3, 0.8249 / 3};
    const Colorants grey{third, third, third};
    const std::string greyProfile = iccProfile("GRAY", 2, {{"kTRC", curvTag({461})}});
    const auto adobeCurve = gamma(563 / 256.0), greyCurve = gamma(461 / 256.0);
    const ProfiledSource sources[] = {
        {L"adobe.jpg", withApp2(jpeg, adobe), kAdobeRgbColorants, adobeCurve},
        {L"adobe-split.jpg", withSegments(jpeg, split), kAdobeRgbColorants, adobeCurve},
        {L"adobe-exif.jpg", withCameraExif(jpeg, 0xFFFF, "R03"), kAdobeRgbColorants, adobeCurve},
        {L"adobe.png", withIccpChunk(png, adobe), kAdobeRgbColorants, adobeCurve},
        {L"p3.jpg", withApp2(jpeg, p3), kDisplayP3Colorants, srgbCurve},
        {L"p3.png", withIccpChunk(png, p3), kDisplayP3Colorants, srgbCurve},
        {L"prophoto16.png", withIccpChunk(png64, proPhoto), kProPhotoColorants, gamma(1.8)},
        {L"grey.png", withIccpChunk(greyPng, greyProfile), grey, greyCurve},
        {L"grey.jpg", withApp2(greyJpeg, greyProfile), grey, greyCurve},
    };
    for (const auto& [name, bytes, colorants, curve] : sources) {
        SCOPED_TRACE(testing::Message() << name);
        const std::vector<std::uint16_t> out = readRgba64(convertToPng(folder, name, bytes));
        const std::vector<std::uint16_t> in = readRgba64(folder.file(name));
        ASSERT_EQ(in.size(), out.size());
        double sum = 0.0, most = 0.0;
        for (std::size_t i = 0; i < in.size(); i += 4) {
            const Rgb stored{in[i] / 65535.0, in[i + 1] / 65535.0, in[i + 2] / 65535.0};
            const Rgb expected = expectedSrgb(colorants, curve, stored);
            const Rgb written{out[i] / 65535.0, out[i + 1] / 65535.0, out[i + 2] / 65535.0};
            const double difference = deltaE2000(expected, written);
            sum += difference;
            most = std::max(most, difference);
            ASSERT_EQ(out[i + 3] / 257, (in[i + 3] + 128) / 257) << "alpha at " << i / 4;
        }
        EXPECT_LE(sum / (in.size() / 4), 1.0);
        EXPECT_LE(most, 3.0);
    }
}

// sRGB profiles cost nothing; profiles no one can apply or trust are ignored.
TEST(Colour, SrgbAndUnusableProfilesComeOutBitIdenticalToNone)
{
    TempFolder folder;
    const std::string srgbV4 = rgbProfile(kSrgbColorants, srgbParaTag(), 4);
    const std::string srgbV2 = rgbProfile(kSrgbColorants, curvTag(sampled(srgbCurve)));
    const std::string adobe = rgbProfile(kAdobeRgbColorants, curvTag({563}));
    // The first tag entry's offset past the end, and a curve claiming 2^31 entries.
    const std::string pastTheEnd = std::string(adobe).replace(136, 4, "\x00\x10\x00\x00", 4);
    const std::string hugeCurve =
        rgbProfile(kAdobeRgbColorants, std::string("curv\0\0\0\0\x7F\xFF\xFF\xFF\x02\x33", 14));
    const std::string half = adobe.substr(0, adobe.size() / 2), rest = adobe.substr(adobe.size() / 2);
    const std::string jpeg = sourceBytes(folder, GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR);
    const std::string png = sourceBytes(folder, GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA);
    const std::pair<std::wstring, std::string> tagged[] = {
        {L"v4.jpg", withApp2(jpeg, srgbV4)},
        {L"v2.jpg", withApp2(jpeg, srgbV2)},
        {L"offset.jpg", withApp2(jpeg, pastTheEnd)},
        {L"curve.jpg", withApp2(jpeg, hugeCurve)},
        {L"truncated.jpg", withSegments(jpeg, iccSegment(1, 2, half))},
        {L"twice.jpg", withSegments(jpeg, iccSegment(1, 2, half) + iccSegment(1, 2, rest))},
        {L"v4.png", withIccpChunk(png, srgbV4)},
        // A lookup-table profile whose table is no table: no colour engine can apply it.
        {L"lut.png", withIccpChunk(png, iccProfile("RGB ", 4, {{"A2B0", "mAB junk"}}))},
    };
    const std::string untaggedJpeg = readFileBytes(convertToPng(folder, L"untagged.jpg", jpeg));
    const std::string untaggedPng = readFileBytes(convertToPng(folder, L"untagged.png", png));
    for (const auto& [name, bytes] : tagged) {
        const std::string& untagged = name.ends_with(L".png") ? untaggedPng : untaggedJpeg;
        EXPECT_TRUE(readFileBytes(convertToPng(folder, name, bytes)) == untagged) << testing::PrintToString(name);
    }
}

}  // namespace
