// Every read goes through the bounds-checked reader over the one tag's bytes,
// so a hostile tag table can point nowhere but inside the profile.
#include "convert/icc_profile.h"

#include <string_view>

#include "imagelist/byte_reader.h"

namespace {
constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kTagEntryBytes = 12;

double s15Fixed16(std::uint32_t value)
{
    return static_cast<std::int32_t>(value) / 65536.0;
}

std::uint32_t signature(std::string_view text)
{
    std::uint32_t value = 0;
    for (const char letter : text) value = value << 8 | static_cast<std::uint8_t>(letter);
    return value;
}

// The bytes of the tag with this signature; empty when it is missing.
std::span<const std::uint8_t> tagBytes(std::span<const std::uint8_t> profile, std::string_view name)
{
    const ByteReader reader(profile);
    const std::uint32_t count = *reader.u32(kHeaderBytes);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kHeaderBytes + 4 + kTagEntryBytes * i;
        if (*reader.u32(entry) == signature(name))
            return profile.subspan(*reader.u32(entry + 4), *reader.u32(entry + 8));
    }
    return {};
}

// True when the tag table and every tag it lists lie inside the profile.
bool tagTableInBounds(std::span<const std::uint8_t> profile)
{
    const ByteReader reader(profile);
    const std::optional<std::uint32_t> count = reader.u32(kHeaderBytes);
    if (!count || *count > (profile.size() - kHeaderBytes - 4) / kTagEntryBytes) return false;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t entry = kHeaderBytes + 4 + kTagEntryBytes * i;
        if (!reader.has(*reader.u32(entry + 4), *reader.u32(entry + 8))) return false;
    }
    return true;
}

std::optional<std::array<double, 3>> readXyz(std::span<const std::uint8_t> tag)
{
    const ByteReader reader(tag);
    if (!reader.matches(0, "XYZ ") || !reader.has(8, 12)) return std::nullopt;
    return std::array<double, 3>{s15Fixed16(*reader.u32(8)), s15Fixed16(*reader.u32(12)), s15Fixed16(*reader.u32(16))};
}

std::optional<ToneCurve> readCurv(const ByteReader& reader)
{
    const std::optional<std::uint32_t> count = reader.u32(8);
    if (!count || !reader.has(12, std::size_t{*count} * 2)) return std::nullopt;
    if (*count == 0) return ToneCurve{};
    if (*count == 1) return ToneCurve::gamma(*reader.u16(12) / 256.0);
    ToneCurve curve;
    curve.kind = ToneCurve::Kind::Table;
    curve.table.resize(*count);
    for (std::size_t i = 0; i < *count; ++i) curve.table[i] = *reader.u16(12 + 2 * i);
    return curve;
}

std::optional<ToneCurve> readPara(const ByteReader& reader)
{
    constexpr std::size_t kParameterCounts[] = {1, 3, 4, 5, 7};
    const std::optional<std::uint16_t> function = reader.u16(8);
    if (!function || *function >= std::size(kParameterCounts) || !reader.has(12, 4 * kParameterCounts[*function]))
        return std::nullopt;
    std::array<double, 7> parameters{1.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    for (std::size_t i = 0; i < kParameterCounts[*function]; ++i) parameters[i] = s15Fixed16(*reader.u32(12 + 4 * i));
    return ToneCurve::parametric(*function, parameters);
}

std::optional<ToneCurve> readCurve(std::span<const std::uint8_t> tag)
{
    const ByteReader reader(tag);
    if (reader.matches(0, "curv")) return readCurv(reader);
    if (reader.matches(0, "para")) return readPara(reader);
    return std::nullopt;
}

std::optional<IccProfile> readRgb(std::span<const std::uint8_t> profile)
{
    IccProfile result{IccProfile::Kind::Rgb};
    const char* const colorants[] = {"rXYZ", "gXYZ", "bXYZ"};
    const char* const curves[] = {"rTRC", "gTRC", "bTRC"};
    for (std::size_t channel = 0; channel < 3; ++channel)
        if (tagBytes(profile, colorants[channel]).empty() || tagBytes(profile, curves[channel]).empty())
            return IccProfile{};
    for (std::size_t channel = 0; channel < 3; ++channel) {
        const std::optional<std::array<double, 3>> xyz = readXyz(tagBytes(profile, colorants[channel]));
        const std::optional<ToneCurve> curve = readCurve(tagBytes(profile, curves[channel]));
        if (!xyz || !curve) return std::nullopt;
        for (std::size_t row = 0; row < 3; ++row) result.toXyz[row][channel] = (*xyz)[row];
        result.curves[channel] = *curve;
    }
    return result;
}

std::optional<IccProfile> readGrey(std::span<const std::uint8_t> profile)
{
    if (tagBytes(profile, "kTRC").empty()) return IccProfile{};
    const std::optional<ToneCurve> curve = readCurve(tagBytes(profile, "kTRC"));
    if (!curve) return std::nullopt;
    return IccProfile{IccProfile::Kind::Grey, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {*curve, *curve, *curve}};
}
}  // namespace

std::optional<IccProfile> parseIccProfile(std::span<const std::uint8_t> bytes)
{
    const ByteReader header(bytes);
    const std::optional<std::uint32_t> size = header.u32(0);
    if (!size || *size > bytes.size() || *size < kHeaderBytes + 4 || !header.matches(36, "acsp")) return std::nullopt;
    const std::span<const std::uint8_t> profile = bytes.first(*size);
    if (!tagTableInBounds(profile)) return std::nullopt;
    const std::uint8_t version = *header.u8(8);
    if (version != 2 && version != 4) return IccProfile{};
    // Without matrix/TRC tags it is for a colour engine; with broken ones, unusable.
    if (header.matches(20, "XYZ ") && header.matches(16, "RGB ")) return readRgb(profile);
    if (header.matches(20, "XYZ ") && header.matches(16, "GRAY")) return readGrey(profile);
    return IccProfile{};
}

IccProfile adobeRgbProfile()
{
    const Vector3 d65 = xyzOfChromaticity(0.3127, 0.3290);
    IccProfile adobe{IccProfile::Kind::Rgb};
    adobe.toXyz = multiply(bradford(d65, kD50), rgbToXyz({{{0.64, 0.33}, {0.21, 0.71}, {0.15, 0.06}}}, d65));
    adobe.curves.fill(ToneCurve::gamma(563.0 / 256.0));
    return adobe;
}
