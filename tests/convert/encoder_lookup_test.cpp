// The extension match rule on the lists real encoders report, and the lookup
// against the encoders installed on this machine.
#include <gtest/gtest.h>

#include <utility>

#include "convert/encoder_lookup.h"
#include "convert/imaging.h"

namespace {

TEST(EncoderLookup, MatchRuleOnExtensionLists)
{
    struct Case {
        const wchar_t* list;
        const wchar_t* wanted;
        bool matches;
    };
    const Case cases[] = {
        {L".JPEG,.JPE,.JPG", L".jpg", true},  // lists are compared lower-cased
        {L".jpeg,.jpe", L".jpg", false},      // ".jpg" is no substring of ".jpeg"
        {L".jpg,.jpeg", L".jfif", true},      // ".jfif" is written by a JPEG encoder
        {L".jpeg,.jpe", L".jfif", false},
        {L".tiff", L".tif", true},
        {L".jpeg,.dib", L".jp", true},        // the list is not split at its commas
        {L"", L".png", false},
        {L".bmp,.dib", L".gif", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "list " << c.list << ", wanted " << c.wanted);
        EXPECT_EQ(encoderExtensionsMatch(c.list, c.wanted), c.matches);
    }
}

TEST(EncoderLookup, FindsTheInstalledEncoders)
{
    // Every Windows ships these encoders, and so does Wine.
    const std::pair<const wchar_t*, GUID> cases[] = {
        {L".jpg", GUID_ContainerFormatJpeg}, {L".jfif", GUID_ContainerFormatJpeg},
        {L".png", GUID_ContainerFormatPng},  {L".tif", GUID_ContainerFormatTiff},
        {L".bmp", GUID_ContainerFormatBmp},  {L".gif", GUID_ContainerFormatGif},
    };
    for (const auto& [extension, expected] : cases) {
        SCOPED_TRACE(testing::Message() << "extension " << extension);
        GUID container{};
        ASSERT_TRUE(findEncoder(extension, container));
        EXPECT_EQ(container, expected);
    }
    // Depends on the installed codecs: neither Wine nor a stock Windows has a
    // WebP encoder (Windows ships only the decoder).
    GUID container{};
    EXPECT_FALSE(findEncoder(L".webp", container));
}

}  // namespace
