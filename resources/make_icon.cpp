// placeholder
#include <cstdio>
#include <cstdint>
#include <vector>
int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    FILE* f = std::fopen(argv[1], "wb");
    if (!f) return 1;
    const int size = 16;
    std::vector<uint8_t> d;
    auto u16 = [&](uint16_t v) { d.push_back(v & 0xff); d.push_back(v >> 8); };
    auto u32 = [&](uint32_t v) { u16(v & 0xffff); u16(v >> 16); };
    u16(0); u16(1); u16(1);
    d.push_back(size); d.push_back(size); d.push_back(0); d.push_back(0); u16(1); u16(32);
    uint32_t bytes = 40 + size * size * 4 + size * 4; u32(bytes); u32(22);
    u32(40); u32(size); u32(size * 2); u16(1); u16(32); u32(0); u32(0); u32(0); u32(0); u32(0); u32(0);
    for (int i = 0; i < size * size; ++i) { d.push_back(138); d.push_back(74); d.push_back(20); d.push_back(255); }
    for (int i = 0; i < size * 4; ++i) d.push_back(0);
    std::fwrite(d.data(), 1, d.size(), f);
    std::fclose(f);
    return 0;
}
