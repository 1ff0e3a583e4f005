// ICC profile parsing, tone curves and the row conversion, tested directly on
// bytes built from published values.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "convert/colour_transform.h"
#include "convert/icc_profile.h"
#include "support/colour_files.h"

namespace {

std::optional<IccProfile> parse(const std::string& text)
{
    return parseIccProfile({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

TEST(ToneCurve, EveryCurveKindMapsStoredValuesToLinearLight)
{
    // What the case shows, the curve tag, a stored value and its linear light.
    const std::tuple<const char*, std::string, double, double> cases[] = {
        {"no entries: identity", curvTag({}), 0.3, 0.3},
        {"one entry: gamma 2.0 in u8Fixed8", curvTag({512}), 0.5, 0.25},
        {"table, interpolated", curvTag({0, 65535, 0}), 0.25, 0.5},
        {"para 0: x^g", paraTag(0, {2.0}), 0.5, 0.25},
        {"para 1: (ax+b)^g above -b/a", paraTag(1, {2.0, 2.0, -0.5}), 0.5, 0.25},
        {"para 1: zero below -b/a", paraTag(1, {2.0, 2.0, -0.5}), 0.2, 0.0},
        {"para 2: plus c", paraTag(2, {1.0, 1.0, 0.0, 0.25}), 0.5, 0.75},
        {"para 3: sRGB's linear start", srgbParaTag(), 0.02, 0.02 / 12.92},
        {"para 3: sRGB's power", srgbParaTag(), 0.5, 0.2140},
        {"para 4: cx + f below d", paraTag(4, {1.0, 1.0, 0.0, 0.5, 0.5, 0.0, 0.125}), 0.25, 0.25},
        {"para 4: plus e above d", paraTag(4, {1.0, 1.0, 0.0, 0.5, 0.5, 0.125, 0.0}), 0.75, 0.875},
        {"clipped to 1", paraTag(2, {1.0, 1.0, 0.0, 0.5}), 0.9, 1.0},
    };
    for (const auto& [name, tag, stored, linear] : cases) {
        const std::optional<IccProfile> profile = parse(iccProfile("GRAY", 4, {{"kTRC", tag}}));
        ASSERT_TRUE(profile) << name;
        EXPECT_EQ(profile->kind, IccProfile::Kind::Grey) << name;
        EXPECT_NEAR(profile->curves[0].toLinear(stored), linear, 1e-4) << name;
    }
}

// How matrix profiles are read shows in the colours of every profiled conversion.
TEST(IccProfile, OthersAreLeftToAColourEngineAndTheCamerasAdobeRgbIsAdobes)
{
    const std::string lut = iccProfile("RGB ", 4, {{"A2B0", "mAB "}});
    const std::string cmyk = iccProfile("CMYK", 2, {{"kTRC", curvTag({})}});
    for (const std::string& other : {lut, cmyk}) EXPECT_EQ(parse(other)->kind, IccProfile::Kind::Other);
    // Built from published primaries, the cameras' Adobe RGB matches Adobe's own profile.
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_NEAR(adobeRgbProfile().toXyz[row][column], kAdobeRgbColorants[column][row], 2e-4);
}

// A curve claiming 2^31 entries is among the profiles the conversion ignores.
TEST(IccProfile, AnyOffsetOrCountOutsideTheProfileMakesItUnusable)
{
    const std::string good = rgbProfile(kAdobeRgbColorants, curvTag({563}));
    const auto patched = [&](std::size_t at, std::uint32_t value) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
        return bytes;
    };
    const std::string cases[] = {
        good.substr(0, good.size() - 1),  // shorter than its declared size
        patched(0, 100),                  // declares less than a header
        patched(36, 0),                   // no "acsp"
        patched(128, 0x15555555),         // tag count beyond the bytes
        patched(136, 0xFFFFFFF0),         // first tag's offset past the end
        patched(140, 0x7FFFFFFF),         // first tag's size past the end
        rgbProfile(kAdobeRgbColorants, paraTag(5, {1.0})),       // no function 5
        rgbProfile(kAdobeRgbColorants, paraTag(4, {1.0, 1.0})),  // too few parameters
        iccProfile("RGB ", 2, {{"rXYZ", "XYZ "}, {"gXYZ", "XYZ "}, {"bXYZ", "XYZ "}, {"rTRC", curvTag({})},
                               {"gTRC", curvTag({})}, {"bTRC", curvTag({})}}),  // colorants cut short
    };
    for (const std::string& bytes : cases) EXPECT_FALSE(parse(bytes)) << &bytes - cases;
}

TEST(IccProfile, SurvivesThousandsOfMutatedProfiles)
{
    const std::string seeds[] = {rgbProfile(kDisplayP3Colorants, srgbParaTag(), 4),
                                 iccProfile("GRAY", 2, {{"kTRC", curvTag({0, 1000, 65535})}})};
    std::mt19937 random(17);
    int usable = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string bytes = seeds[round % 2];
        for (int flips = 1 + random() % 4; flips > 0; --flips) {
            const std::size_t at = random() % bytes.size();
            bytes[at] = random() % 3 == 0 ? '\xFF' : static_cast<char>(random());
        }
        if (random() % 8 == 0) bytes.resize(random() % bytes.size());
        const std::optional<IccProfile> profile = parse(bytes);
        if (!profile || profile->kind == IccProfile::Kind::Other) continue;
        ++usable;
        // Whatever was read, every curve stays within 0..1 and a row converts.
        for (const ToneCurve& curve : profile->curves)
            for (const double x : {0.0, 0.3, 1.0}) ASSERT_TRUE(curve.toLinear(x) >= 0.0 && curve.toLinear(x) <= 1.0);
        std::uint8_t row[] = {1, 2, 3, 200, 100, 50};
        if (const std::optional<ColourTransform> transform = ColourTransform::toSrgb(*profile, false))
            transform->convertRow(PixelLayout::Bgr8, row, row, 2);
    }
    // The mutations reach past the header checks.
    EXPECT_GT(usable, 100);
}

}  // namespace
