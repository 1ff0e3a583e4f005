// Profiles and containers written byte by byte, big-endian as ICC and PNG
// store their numbers; the iCCP chunk's zlib stream uses stored blocks only.
#include "support/colour_files.h"

#include <cmath>

#include "support/test_files.h"

namespace {
std::string bigEndian(std::uint32_t value, int size)
{
    std::string bytes;
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift);
    return bytes;
}

std::string s15Fixed16(double value)
{
    return bigEndian(static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(value * 65536.0))), 4);
}

std::uint32_t crc32(std::string_view bytes)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char byte : bytes) {
        crc ^= static_cast<std::uint8_t>(byte);
        for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (crc & 1 ? 0xEDB88320 : 0);
    }
    return ~crc;
}

std::string zlibStored(std::string_view data)
{
    std::string stream = "\x78\x01";
    std::uint32_t a = 1, b = 0;
    for (const char byte : data) {
        a = (a + static_cast<std::uint8_t>(byte)) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t at = 0; at == 0 || at < data.size(); at += 65535) {
        const std::string_view block = data.substr(at, 65535);
        const auto length = static_cast<std::uint16_t>(block.size());
        stream += static_cast<char>(at + block.size() >= data.size());
        stream += {static_cast<char>(length), static_cast<char>(length >> 8), static_cast<char>(~length),
                   static_cast<char>(~length >> 8)};
        stream += block;
    }
    return stream + bigEndian(b << 16 | a, 4);
}

// Length, type, data and the CRC of type and data.
std::string pngChunk(std::string_view type, const std::string& data)
{
    const std::string body = std::string(type) + data;
    return bigEndian(static_cast<std::uint32_t>(data.size()), 4) + body + bigEndian(crc32(body), 4);
}

std::string xyzTag(const std::array<double, 3>& xyz)
{
    return "XYZ " + std::string(4, '\0') + s15Fixed16(xyz[0]) + s15Fixed16(xyz[1]) + s15Fixed16(xyz[2]);
}
}  // namespace

std::string curvTag(const std::vector<std::uint16_t>& entries)
{
    std::string tag = "curv" + std::string(4, '\0') + bigEndian(static_cast<std::uint32_t>(entries.size()), 4);
    for (const std::uint16_t entry : entries) tag += bigEndian(entry, 2);
    return tag;
}

std::string paraTag(std::uint16_t function, const std::vector<double>& parameters)
{
    std::string tag = "para" + std::string(4, '\0') + bigEndian(function, 2) + std::string(2, '\0');
    for (const double parameter : parameters) tag += s15Fixed16(parameter);
    return tag;
}

std::string srgbParaTag()
{
    return paraTag(3, {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045});
}

std::string iccProfile(std::string_view space, int version, const IccTags& tags)
{
    std::string table = bigEndian(static_cast<std::uint32_t>(tags.size()), 4);
    std::string data;
    std::size_t offset = 128 + 4 + 12 * tags.size();
    for (const auto& [name, bytes] : tags) {
        table += name + bigEndian(static_cast<std::uint32_t>(offset + data.size()), 4) +
                 bigEndian(static_cast<std::uint32_t>(bytes.size()), 4);
        // Tags start on four-byte boundaries.
        data += bytes + std::string((4 - bytes.size() % 4) % 4, '\0');
    }
    std::string header = bigEndian(static_cast<std::uint32_t>(offset + data.size()), 4) + "lumo" +
                         static_cast<char>(version) + std::string(3, '\0') + "mntr" + std::string(space) + "XYZ ";
    header += std::string(36 - header.size(), '\0') + "acsp";
    return header + std::string(128 - header.size(), '\0') + table + data;
}

std::string rgbProfile(const Colorants& colorants, const std::string& curve, int version)
{
    return iccProfile("RGB ", version,
                      {{"rXYZ", xyzTag(colorants[0])}, {"gXYZ", xyzTag(colorants[1])}, {"bXYZ", xyzTag(colorants[2])},
                       {"rTRC", curve}, {"gTRC", curve}, {"bTRC", curve}});
}

std::string iccSegment(int sequence, int total, std::string_view chunk)
{
    const std::string payload = std::string("ICC_PROFILE\0", 12) + static_cast<char>(sequence) +
                                static_cast<char>(total) + std::string(chunk);
    return "\xFF\xE2" + bigEndian(static_cast<std::uint32_t>(payload.size() + 2), 2) + payload;
}

std::string withSegments(std::string_view jpeg, std::string_view segments)
{
    return std::string(jpeg.substr(0, 2)) + std::string(segments) + std::string(jpeg.substr(2));
}

std::string withCameraExif(std::string_view jpeg, std::uint16_t colorSpace, const char* index)
{
    // IFD 0 at 8 points to the EXIF IFD at 26, which points to the interoperability IFD at 56.
    const std::uint32_t letters = index[0] | index[1] << 8 | index[2] << 16;
    const std::string interop = tiffBytes(false, {{1, 2, 4, letters}}).substr(8);
    const std::string exif = tiffBytes(false, {{0xA001, 3, 1, colorSpace}, {0xA005, 4, 1, 56}}).substr(8);
    return withExif(jpeg, tiffBytes(false, {{0x8769, 4, 1, 26}}, exif + interop));
}

std::string withIccpChunk(std::string_view png, std::string_view profile)
{
    // Signature (8), then IHDR: length, type, 13 bytes of data, CRC.
    constexpr std::size_t kAfterIhdr = 8 + 4 + 4 + 13 + 4;
    const std::string chunk = pngChunk("iCCP", std::string("ICC\0\0", 5) + zlibStored(profile));
    return std::string(png.substr(0, kAfterIhdr)) + chunk + std::string(png.substr(kAfterIhdr));
}

std::string rgba64Png(std::uint32_t width, std::uint32_t height, const std::vector<std::uint16_t>& values)
{
    std::string rows;
    for (std::size_t i = 0; i < values.size(); ++i)
        rows += (i % (4 * width) == 0 ? std::string(1, '\0') : std::string()) + bigEndian(values[i], 2);
    // 16 bits per sample, colour type 6 (RGBA), then no compression, filter or interlace choice.
    const std::string header = bigEndian(width, 4) + bigEndian(height, 4) + "\x10\x06" + std::string(3, '\0');
    return "\x89PNG\r\n\x1A\n" + pngChunk("IHDR", header) + pngChunk("IDAT", zlibStored(rows)) + pngChunk("IEND", "");
}
