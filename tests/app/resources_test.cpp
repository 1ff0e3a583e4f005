// Checks the resources every Lumora executable carries (icon group, version
// information, manifest), read back from this test's own module, which links them too.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

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
    const std::span<const BYTE> group = resourceBytes(MAKEINTRESOURCEW(101), RT_GROUP_ICON);
    // The .ico directory's header: reserved, type 1 for icons, the image count.
    std::array<WORD, 3> header{};
    ASSERT_GE(group.size(), sizeof header);
    std::memcpy(header.data(), group.data(), sizeof header);
    EXPECT_EQ(header, (std::array<WORD, 3>{0, 1, 7}));
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        // The best match for each size is an image of exactly that size: a 32-bit
        // DIB whose height counts the colour rows and the AND mask.
        const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data()), TRUE, size, size, 0);
        const std::span<const BYTE> image = resourceBytes(MAKEINTRESOURCEW(id), RT_ICON);
        BITMAPINFOHEADER dib{};
        ASSERT_GE(image.size(), sizeof dib) << size;
        std::memcpy(&dib, image.data(), sizeof dib);
        EXPECT_EQ((std::array{dib.biWidth, dib.biHeight, LONG{dib.biBitCount}}),
                  (std::array<LONG, 3>{size, 2 * size, 32}));
    }
}

TEST(Resources, VersionInformationReads120)
{
    wchar_t path[MAX_PATH]{};
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, block.size(), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ((std::array{fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                          fixed->dwProductVersionLS}),
              (std::array<DWORD, 4>{MAKELONG(2, 1), 0, MAKELONG(2, 1), 0}));
    // German, Unicode; the dash is U+2013, which a wrong code page in the resource script would garble.
    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"FileVersion", L"1.2.0"}, {L"ProductVersion", L"1.2.0"},
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
    // The settings with their namespaces, so a wrong one shows up too.
    const char* const required[] = {
        R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
        R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
        R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>)",
        R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2</dpiAwareness>)",
        R"(<longPathAware xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">true</longPathAware>)",
    };
    for (const char* text : required) EXPECT_NE(manifest.find(text), std::string_view::npos) << text;
}

}  // namespace
