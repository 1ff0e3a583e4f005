// Checks the resources every Lumora executable carries (icon group, version
// information, manifest), read back from this test's own module, which links them too.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstring>
#include <cwchar>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr WORD kIconGroupId = 101;
constexpr COLORREF kHeaderBlue = RGB(20, 74, 138);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr wchar_t kSettings2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
constexpr wchar_t kSettings2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";

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

// The pixel size an RT_ICON image declares itself, whether stored as PNG or as DIB.
int declaredIconSize(std::span<const BYTE> image, WORD* bitCount)
{
    constexpr std::array<BYTE, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (image.size() >= 24 && std::memcmp(image.data(), kPngSignature.data(), 8) == 0) {
        // Bit depth and colour type follow the IHDR width and height; 8-bit RGBA is 32 bpp.
        *bitCount = (image[24] == 8 && image[25] == 6) ? 32 : 0;
        return (image[16] << 24) | (image[17] << 16) | (image[18] << 8) | image[19];
    }
    BITMAPINFOHEADER header{};
    if (image.size() < sizeof header) return 0;
    std::memcpy(&header, image.data(), sizeof header);
    *bitCount = header.biBitCount;
    // The height counts the colour rows and the AND mask.
    return header.biHeight == 2 * header.biWidth ? header.biWidth : 0;
}

std::wstring versionString(const std::vector<BYTE>& block, const std::wstring& name)
{
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) || length < sizeof(Translation)) {
        return L"<no translation>";
    }
    std::array<wchar_t, 64> query{};
    std::swprintf(query.data(), query.size(), L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
             translation->codePage, name.c_str());
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), query.data(), reinterpret_cast<void**>(&value), &length)) return L"<missing>";
    return value;
}

std::wstring actCtxSetting(HANDLE context, const wchar_t* ns, const wchar_t* name)
{
    std::array<wchar_t, 64> value{};
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context, ns, name, value.data(), value.size(), &written)) return L"<missing>";
    return value.data();
}

// One QueryActCtxW answer; the structures carry their strings behind them, so
// the size is asked for first. Empty on failure.
std::vector<BYTE> queryActCtx(HANDLE context, ACTIVATION_CONTEXT_INFO_CLASS infoClass, DWORD* index)
{
    SIZE_T needed = 0;
    QueryActCtxW(0, context, index, infoClass, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !QueryActCtxW(0, context, index, infoClass, buffer.data(), buffer.size(), nullptr)) return {};
    return buffer;
}

// The encoded identity (name, then attributes such as version="...") of the
// assembly an activation context resolved for a dependency; empty when there is none.
std::wstring dependencyIdentity(HANDLE context, const std::wstring& name)
{
    const std::vector<BYTE> overview = queryActCtx(context, ActivationContextDetailedInformation, nullptr);
    if (overview.empty()) return {};
    const DWORD count =
        reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(overview.data())->ulAssemblyCount;
    // Index 1 is the program's own manifest; its dependencies follow.
    for (DWORD index = 2; index <= count; ++index) {
        const std::vector<BYTE> buffer = queryActCtx(context, AssemblyDetailedInformationInActivationContext, &index);
        if (buffer.empty()) continue;
        const std::wstring identity =
            reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data())
                ->lpAssemblyEncodedAssemblyIdentity;
        if (identity.starts_with(name + L",")) return identity;
    }
    return {};
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

        // The group's entry must describe the image it points to.
        const std::span<const BYTE> image = resourceBytes(MAKEINTRESOURCEW(entry.id), RT_ICON);
        EXPECT_EQ(image.size(), entry.bytesInRes);
        WORD imageBits = 0;
        EXPECT_EQ(declaredIconSize(image, &imageBits), size);
        EXPECT_EQ(imageBits, 32);
    }
    EXPECT_EQ(sizes, (std::multiset<int>{16, 24, 32, 48, 64, 128, 256}));
}

// The window uses the icon at 16 (small class icon) and 48 (header) pixels.
TEST(Resources, IconLoadsAtRequestedSizeWithTransparentCorners)
{
    for (const int size : {16, 48}) {
        SCOPED_TRACE(size);
        const HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconGroupId),
                                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        ASSERT_NE(info.hbmColor, nullptr);
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);

        // Drawn onto white, the corners must stay white and the tile must show the header blue.
        const HDC screen = GetDC(nullptr);
        const HDC dc = CreateCompatibleDC(screen);
        const HBITMAP canvas = CreateCompatibleBitmap(screen, size, size);
        ReleaseDC(nullptr, screen);
        const HGDIOBJ previous = SelectObject(dc, canvas);
        const RECT all{0, 0, size, size};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(GetPixel(dc, 0, 0), kWhite);
        EXPECT_EQ(GetPixel(dc, size - 1, size - 1), kWhite);
        bool blueSeen = false;
        for (int y = 0; y < size && !blueSeen; ++y) {
            for (int x = 0; x < size && !blueSeen; ++x) blueSeen = GetPixel(dc, x, y) == kHeaderBlue;
        }
        EXPECT_TRUE(blueSeen);
        SelectObject(dc, previous);
        DeleteObject(canvas);
        DeleteDC(dc);
        DestroyIcon(icon);
    }
}

TEST(Resources, VersionInformationReads120)
{
    std::array<wchar_t, MAX_PATH> path{};
    ASSERT_GT(GetModuleFileNameW(nullptr, path.data(), path.size()), 0u);
    const DWORD size = GetFileVersionInfoSizeW(path.data(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.data(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    EXPECT_EQ(versionString(block, L"FileVersion"), L"1.2.0");
    EXPECT_EQ(versionString(block, L"ProductVersion"), L"1.2.0");
    EXPECT_EQ(versionString(block, L"ProductName"), L"Lumora");
    // The dash is U+2013; a wrong code page in the resource script would garble it.
    EXPECT_EQ(versionString(block, L"FileDescription"), L"Lumora \u2013 Bildkonverter");
}

// The manifest is read by the system's own parser, through an activation context
// made from the resource, so a wrong namespace or element name shows up here.
TEST(Resources, ManifestAsksForCommonControls6DpiAwarenessAndLongPaths)
{
    std::array<wchar_t, MAX_PATH> path{};
    ASSERT_GT(GetModuleFileNameW(nullptr, path.data(), path.size()), 0u);
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    request.lpSource = path.data();
    request.hModule = GetModuleHandleW(nullptr);
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    const HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);

    EXPECT_EQ(actCtxSetting(context, kSettings2005, L"dpiAware"), L"true/pm");
    EXPECT_EQ(actCtxSetting(context, kSettings2016, L"dpiAwareness"), L"PerMonitorV2");
    EXPECT_EQ(actCtxSetting(context, kSettings2016, L"longPathAware"), L"true");

    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
    EXPECT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel,
                             sizeof runLevel, nullptr));
    EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(runLevel.UiAccess, 0u);

    // The dependency must resolve to an installed common controls assembly of version 6.0.
    const std::wstring commonControls = dependencyIdentity(context, L"Microsoft.Windows.Common-Controls");
    ReleaseActCtx(context);
    EXPECT_NE(commonControls.find(L"version=\"6.0."), std::wstring::npos) << commonControls;
}

}  // namespace
