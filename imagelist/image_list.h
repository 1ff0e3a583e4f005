// The one program-wide ImageList and the probe that turns an image file into an
// entry. Probing opens the file only for as long as it takes to read frame 0's size.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "imagelist/image_entry.h"

// The entries in the order of adding, with a set of their A-Z-folded paths kept
// in step, so that asking whether a path is listed costs the same however long
// the list grows.
class ImageList {
public:
    using const_iterator = std::vector<ImageEntry>::const_iterator;

    // Refused, leaving the list unchanged, when the path is listed already.
    bool append(ImageEntry entry);
    // Indices in ascending order, each once; indices past the end are ignored.
    void erase(const std::vector<std::size_t>& ascendingIndices);
    void clear();
    bool contains(std::wstring_view path) const;

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const ImageEntry& operator[](std::size_t index) const { return entries_[index]; }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }

private:
    std::vector<ImageEntry> entries_;
    std::unordered_set<std::wstring> foldedPaths_;
};

ImageList& imageList();

// False when no installed decoder can open the file and report frame 0's size;
// the entry is then of no meaning. fileSize is 0 when the size cannot be read.
// A file whose header declares a size beyond the limits is refused unopened,
// one whose decoder reports such a frame before any pixel is read;
// width and height are the upright size its EXIF orientation gives.
bool probeImage(const std::wstring& path, ImageEntry& entry);
