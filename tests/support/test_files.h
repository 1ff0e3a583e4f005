// Plain file helpers for tests that check what a handler left on disk: whole
// files as bytes and the names a folder holds; image bytes edited by hand; and
// the program started as a process, its output in files.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

std::string readFileBytes(const std::wstring& path);
void writeFileBytes(const std::wstring& path, std::string_view bytes);
// A string's bytes as the parsers take them.
inline std::span<const std::uint8_t> bytesOf(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The names of the plain files directly in the folder, sorted.
std::vector<std::wstring> fileNamesIn(const std::wstring& folder);

// A PNG, baseline JPEG, GIF or BMP file whose header claims another size.
std::string withClaimedSize(std::string file, std::uint32_t width, std::uint32_t height);

// Tag, type (3 SHORT, 4 LONG), count and value of one IFD entry.
using IfdField = std::array<std::uint32_t, 4>;
// A TIFF header, one IFD of these fields right after it, then data.
std::string tiffBytes(bool bigEndian, const std::vector<IfdField>& fields, std::string_view data = {});
// jpeg with an APP1 "Exif" segment holding tiff right after its start-of-image marker.
std::string withExif(std::string_view jpeg, std::string_view tiff);

// An icon of these square images (PNG files, or what iconDib makes of BMP files).
std::string iconBytes(const std::vector<std::string>& images, std::uint8_t side);
// A bottom-up BMP file's info header and pixels as an icon holds them: the height
// doubled, an empty transparency mask after the pixels.
std::string iconDib(const std::string& bmp);
// A GIF whose 1 x 1 screen, colour table and extension lead to one image of this size.
std::string gifBytes(std::uint16_t width, std::uint16_t height);

// A symbolic link to a target that need not exist, removed again with the
// object. Under Wine it is made on the Linux side, where Win32 cannot see it
// (and where deleting it through Win32 would delete its target instead).
class SymbolicLink {
public:
    SymbolicLink(const std::wstring& link, const std::wstring& target);
    ~SymbolicLink();
    SymbolicLink(const SymbolicLink&) = delete;
    SymbolicLink& operator=(const SymbolicLink&) = delete;
    bool made() const { return made_; }

private:
    std::wstring link_;
    std::wstring target_;
    bool made_ = false;
};

struct ProgramRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string out;
    std::string err;
};
// Starts a program built one folder above the test executables, with its standard
// output and error in files; `meanwhile` gets the running process and the path of
// its error file. A program still running after a minute is ended.
ProgramRun runProgram(const std::wstring& program, const std::wstring& arguments, DWORD flags = 0,
                      const std::function<void(const PROCESS_INFORMATION&, const std::wstring&)>& meanwhile = {});

// In double quotes, as a command line takes a path with blanks.
inline std::wstring quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}
