// Files no one here made: real images written by WIC as the seeds, and the
// deterministic mutations that the fuzz tests make of them.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

class TempFolder;

struct Seed {
    const char* name;
    std::string bytes;
};

// A JPEG with an EXIF orientation, a PNG, a GIF, a BMP and a TIFF of 16 x 12,
// and an icon holding a 16 x 16 PNG and a 16 x 16 BMP image; written in folder.
std::vector<Seed> seedImages(const TempFolder& folder);

// One to three bit flips, cuts or extreme numbers (in either byte order, where
// length and count fields are), half of them within the first 64 bytes.
std::string mutated(std::string bytes, std::mt19937& random);
