// The texts a batch run shows: its status line while and after it runs, and the
// summary that names the images that failed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// "Verarbeite i von N: name", i counting from 1.
std::wstring progressStatusText(std::uint64_t oneBasedIndex, std::uint64_t count, std::wstring_view name);

std::wstring finalStatusText(std::uint64_t succeeded, std::uint64_t count);

// One entry of the summary's failure list: the file name and the error text.
std::wstring failureLine(std::wstring_view name, std::wstring_view errorText);

// More failures than this would make the window's message box taller than the screen.
inline constexpr std::size_t kListedFailures = 8;

// The count line, then at most listLimit failure lines and a count of the rest.
std::wstring summaryText(std::uint64_t succeeded, std::uint64_t count, const std::vector<std::wstring>& failureLines,
                         std::size_t listLimit = kListedFailures);

// What a cancelled run's summary gets after its failure lines.
std::wstring cancelledText(std::uint64_t notStarted);

// Why a run could not start: no image, the folder, or the encoder for the extension.
std::wstring noImagesText();
std::wstring folderUnusableText();
std::wstring noEncoderText(std::wstring_view extension);
