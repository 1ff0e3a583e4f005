// The extension match rule on the lists real encoders report, and the lookup
// against the encoders installed on this machine.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "convert/encoder_lookup.h"
#include "convert/imaging.h"

TEST(EncoderLookup, MatchRuleOnExtensionLists)
{
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
        {L".JPEG,.JPE,.JPG", L".jpg", true},  // lists are compared lower-cased
        {L".jpeg,.jpe", L".jpg", false},      // ".jpg" is no substring of ".jpeg"
        {L".jpg,.jpeg", L".jfif", true},      // ".jfif" is written by a JPEG encoder
        {L".jpeg,.jpe", L".jfif", false},     {L".tiff", L".tif", true},
        {L".jpeg,.dib", L".jp", true},        // the list is not split at its commas
        {L"", L".png", false},                {L".bmp,.dib", L".gif", false},
    };
    for (const auto& [list, wanted, matches] : cases) EXPECT_EQ(encoderExtensionsMatch(list, wanted), matches) << list;
}

TEST(EncoderLookup, FindsTheInstalledEncoders)
{
    // Depends on the installed codecs: every Windows and Wine ship these encoders,
    // but neither has a WebP encoder (Windows ships only the decoder).
    const std::pair<const wchar_t*, GUID> cases[] = {
        {L".jpg", GUID_ContainerFormatJpeg}, {L".jfif", GUID_ContainerFormatJpeg}, {L".png", GUID_ContainerFormatPng},
        {L".tif", GUID_ContainerFormatTiff}, {L".bmp", GUID_ContainerFormatBmp},   {L".gif", GUID_ContainerFormatGif},
        {L".webp", GUID_NULL},
    };
    for (const auto& [extension, expected] : cases) {
        GUID container = GUID_NULL;
        EXPECT_EQ(findEncoder(extension, container), expected != GUID_NULL) << extension;
        EXPECT_EQ(container, expected) << extension;
    }
}
