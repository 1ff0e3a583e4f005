// Checks the resources every Lumora executable carries (icon group, version
// information, manifest), read back from this test's own module, which links them too.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstring>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr WORD kIconGroupId = 101;

// Layout of an RT_GROUP_ICON resource: the .ico directory with a resource id in
// place of each image's file offset.
#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

// Empty when this module has no such resource.
std::span<const BYTE> resourceBytes(LPCWSTR name, LPCWSTR type)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC info = FindResourceW(module, name, type);
    const HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    if (!loaded) return {};
    return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(module, info)};
}

TEST(Resources, IconGroupHoldsSevenSizesAt32BitsPerPixel)
{
    const std::span<const BYTE> group = resourceBytes(MAKEINTRESOURCEW(kIconGroupId), RT_GROUP_ICON);
    ASSERT_GE(group.size(), sizeof(GroupIconHeader));
    GroupIconHeader header{};
    std::memcpy(&header, group.data(), sizeof header);
    EXPECT_EQ(header.type, 1);
    ASSERT_EQ(group.size(), sizeof header + header.count * sizeof(GroupIconEntry));

    std::multiset<int> sizes;
    for (WORD i = 0; i < header.count; ++i) {
        GroupIconEntry entry{};
        std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
        // A stored 0 stands for 256 pixels.
        const int size = entry.width == 0 ? 256 : entry.width;
        sizes.insert(size);
        SCOPED_TRACE(size);
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.bitCount, 32);

        // The group's entry must describe the image it points to, a DIB whose
        // height counts the colour rows and the AND mask.
        const std::span<const BYTE> image = resourceBytes(MAKEINTRESOURCEW(entry.id), RT_ICON);
        ASSERT_EQ(image.size(), entry.bytesInRes);
        BITMAPINFOHEADER dib{};
        ASSERT_GE(image.size(), sizeof dib);
        std::memcpy(&dib, image.data(), sizeof dib);
        EXPECT_EQ(dib.biWidth, size);
        EXPECT_EQ(dib.biHeight, 2 * size);
        EXPECT_EQ(dib.biBitCount, 32);
    }
    EXPECT_EQ(sizes, (std::multiset<int>{16, 24, 32, 48, 64, 128, 256}));
}

TEST(Resources, VersionInformationReads120)
{
    std::array<wchar_t, MAX_PATH> path{};
    ASSERT_GT(GetModuleFileNameW(nullptr, path.data(), path.size()), 0u);
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.data(), nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(path.data(), 0, block.size(), block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    // German, Unicode; the dash is U+2013, which a wrong code page in the resource script would garble.
    const std::pair<const wchar_t*, const wchar_t*> strings[] = {{L"FileVersion", L"1.2.0"},
                                                                 {L"ProductVersion", L"1.2.0"},
                                                                 {L"FileDescription", L"Lumora \u2013 Bildkonverter"}};
    for (const auto& [name, expected] : strings) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040704B0\\") + name;
        wchar_t* value = nullptr;
        ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << name;
        EXPECT_STREQ(value, expected);
    }
}

TEST(Resources, ManifestAsksForCommonControls6DpiAwarenessAndLongPaths)
{
    const std::span<const BYTE> bytes = resourceBytes(CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    const std::string_view manifest(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    // Each element with its namespace, so a wrong one shows up too.
    const char* const required[] = {
        R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
        R"(<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">)",
        R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
        R"(<application xmlns="urn:schemas-microsoft-com:asm.v3">)",
        R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>)",
        R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2</dpiAwareness>)",
        R"(<longPathAware xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">true</longPathAware>)",
    };
    for (const char* text : required) EXPECT_NE(manifest.find(text), std::string_view::npos) << text;
}

}  // namespace
