// Draws Lumora's application icon (a blue tile holding a photo and a conversion
// arrow) and writes it as a .ico file of seven 32-bit images. Runs at build time;
// it reads nothing, and every run writes the same bytes.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>
#include <vector>

namespace {

struct Colour {
    std::uint8_t r, g, b;
};

struct Point {
    double x, y;
};

constexpr Colour kBlue{20, 74, 138};
constexpr Colour kBlueLight{86, 142, 207};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kSky{208, 229, 250};
constexpr Colour kAmber{255, 190, 60};

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
// Each pixel averages a grid of this many samples per axis, at every size, so
// small images are drawn for their size rather than shrunk from a large one.
constexpr int kSamplesPerAxis = 8;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::size_t kBitmapHeaderSize = 40;

// Shape tests in unit coordinates: (0, 0) is the top-left corner, (1, 1) the bottom-right.
bool inRoundedRect(Point p, double left, double top, double right, double bottom, double radius)
{
    if (p.x < left || p.x > right || p.y < top || p.y > bottom) return false;
    const double dx = std::max({left + radius - p.x, 0.0, p.x - (right - radius)});
    const double dy = std::max({top + radius - p.y, 0.0, p.y - (bottom - radius)});
    return dx * dx + dy * dy <= radius * radius;
}

bool inCircle(Point p, Point centre, double radius)
{
    const double dx = p.x - centre.x;
    const double dy = p.y - centre.y;
    return dx * dx + dy * dy <= radius * radius;
}

// Inside when the point lies on the same side of all three edges, whatever the winding.
bool inTriangle(Point p, Point a, Point b, Point c)
{
    const auto side = [p](Point from, Point to) {
        return (to.x - from.x) * (p.y - from.y) - (to.y - from.y) * (p.x - from.x);
    };
    const double d1 = side(a, b);
    const double d2 = side(b, c);
    const double d3 = side(c, a);
    return (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
}

// The motif, topmost shape first; no colour means transparent.
std::optional<Colour> motifColour(Point p)
{
    // Conversion badge: an amber disc in a white ring with a blue arrow pointing right.
    constexpr Point kBadge{0.74, 0.74};
    if (inCircle(p, kBadge, 0.215)) {
        if (!inCircle(p, kBadge, 0.18)) return kWhite;
        const bool shaft = p.x >= 0.635 && p.x <= 0.76 && p.y >= 0.712 && p.y <= 0.768;
        if (shaft || inTriangle(p, {0.735, 0.64}, {0.845, 0.74}, {0.735, 0.84})) return kBlue;
        return kAmber;
    }
    // Photo: a white frame around sky, sun and two mountains.
    if (inRoundedRect(p, 0.15, 0.2, 0.77, 0.71, 0.05)) {
        if (p.x < 0.2 || p.x > 0.72 || p.y < 0.25 || p.y > 0.66) return kWhite;
        if (inTriangle(p, {0.2, 0.66}, {0.37, 0.38}, {0.55, 0.66})) return kBlue;
        if (inTriangle(p, {0.42, 0.66}, {0.57, 0.46}, {0.72, 0.66})) return kBlueLight;
        if (inCircle(p, {0.6, 0.36}, 0.06)) return kAmber;
        return kSky;
    }
    if (inRoundedRect(p, 0.03, 0.03, 0.97, 0.97, 0.2)) return kBlue;
    return std::nullopt;
}

// Top-down BGRA rows with straight alpha.
std::vector<std::uint8_t> renderImage(int size)
{
    constexpr int kSamples = kSamplesPerAxis * kSamplesPerAxis;
    std::vector<std::uint8_t> bgra;
    bgra.reserve(static_cast<std::size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int covered = 0;
            int red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                    const Point p{(x + (sx + 0.5) / kSamplesPerAxis) / size,
                                  (y + (sy + 0.5) / kSamplesPerAxis) / size};
                    const std::optional<Colour> colour = motifColour(p);
                    if (!colour) continue;
                    ++covered;
                    red += colour->r;
                    green += colour->g;
                    blue += colour->b;
                }
            }
            // Straight alpha: the colour is the mean of the covered samples only.
            const int divisor = std::max(covered, 1);
            bgra.push_back(static_cast<std::uint8_t>((blue + divisor / 2) / divisor));
            bgra.push_back(static_cast<std::uint8_t>((green + divisor / 2) / divisor));
            bgra.push_back(static_cast<std::uint8_t>((red + divisor / 2) / divisor));
            bgra.push_back(static_cast<std::uint8_t>((covered * 255 + kSamples / 2) / kSamples));
        }
    }
    return bgra;
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One image as an icon file stores it: a BITMAPINFOHEADER of twice the height
// (colour rows, then the AND mask), bottom-up BGRA rows, then the 1-bit mask
// with rows padded to 32 bits and a set bit for every fully transparent pixel.
std::vector<std::uint8_t> iconImage(int size)
{
    const std::vector<std::uint8_t> bgra = renderImage(size);
    const std::size_t rowBytes = static_cast<std::size_t>(size) * 4;
    const std::size_t maskRowBytes = (static_cast<std::size_t>(size) + 31) / 32 * 4;

    std::vector<std::uint8_t> out;
    put32(out, kBitmapHeaderSize);
    put32(out, size);
    put32(out, size * 2);
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, 0);   // BI_RGB
    put32(out, static_cast<std::uint32_t>(size * (rowBytes + maskRowBytes)));
    for (int i = 0; i < 4; ++i) put32(out, 0);  // resolution and palette: unused

    for (int y = size - 1; y >= 0; --y) {
        const auto row = bgra.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
        out.insert(out.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> mask(maskRowBytes, 0);
        for (int x = 0; x < size; ++x) {
            if (bgra[y * rowBytes + x * 4 + 3] == 0) mask[x / 8] |= 0x80 >> (x % 8);
        }
        out.insert(out.end(), mask.begin(), mask.end());
    }
    return out;
}

// ICONDIR, one ICONDIRENTRY per image, then the images in the same order.
std::vector<std::uint8_t> iconFile()
{
    constexpr std::size_t kCount = std::size(kSizes);
    std::vector<std::uint8_t> directory;
    std::vector<std::uint8_t> images;
    put16(directory, 0);  // reserved
    put16(directory, 1);  // icon, not cursor
    put16(directory, kCount);
    std::size_t offset = 6 + kCount * kDirectoryEntrySize;
    for (const int size : kSizes) {
        const std::vector<std::uint8_t> image = iconImage(size);
        // A stored width or height of 0 stands for 256.
        directory.push_back(static_cast<std::uint8_t>(size % 256));
        directory.push_back(static_cast<std::uint8_t>(size % 256));
        directory.push_back(0);  // colour count: not palettised
        directory.push_back(0);  // reserved
        put16(directory, 1);     // planes
        put16(directory, 32);    // bits per pixel
        put32(directory, static_cast<std::uint32_t>(image.size()));
        put32(directory, static_cast<std::uint32_t>(offset));
        offset += image.size();
        images.insert(images.end(), image.begin(), image.end());
    }
    directory.insert(directory.end(), images.begin(), images.end());
    return directory;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon <output.ico>\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = iconFile();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::fprintf(stderr, "make_icon: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
