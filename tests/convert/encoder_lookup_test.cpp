// The extension match rule on the lists real encoders report, and the lookup
// against the encoders installed on this machine.
#include <gtest/gtest.h>

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
        {L".JPEG,.JPE,.JPG", L".jpg", true},     // both sides lower-cased
        {L".jpeg,.jpe,.jpg", L".JPG", true},
        {L".jpeg,.jpe", L".jpg", false},         // ".jpg" is no substring of ".jpeg"
        {L".jfif", L".jfif", true},
        {L".jpg,.jpeg", L".jfif", true},         // ".jfif" is written by a JPEG encoder
        {L".jpeg,.jpe", L".jfif", false},
        {L".tiff", L".tif", true},
        {L".tif", L".tiff", false},
        {L".jpeg,.dib", L".jp", true},           // the commas are not respected
        {L".gif;.png", L".png", true},           // nor is any other separator
        {L".png", L"", true},                    // an empty wanted extension matches anything
        {L"", L".png", false},
        {L".bmp,.dib", L".gif", false},
        {L".png", L".jpg", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "list " << c.list << ", wanted " << c.wanted);
        EXPECT_EQ(encoderExtensionsMatch(c.list, c.wanted), c.matches);
    }
}

TEST(EncoderLookup, FindsTheInstalledEncoders)
{
    struct Case {
        const wchar_t* extension;
        GUID container;
    };
    // Every Windows ships these encoders, and so does Wine.
    const Case cases[] = {
        {L".jpg", GUID_ContainerFormatJpeg}, {L".jfif", GUID_ContainerFormatJpeg},
        {L".png", GUID_ContainerFormatPng},  {L".tif", GUID_ContainerFormatTiff},
        {L".bmp", GUID_ContainerFormatBmp},  {L".gif", GUID_ContainerFormatGif},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "extension " << c.extension);
        GUID container{};
        ASSERT_TRUE(findEncoder(c.extension, container));
        EXPECT_EQ(container, c.container);
        // The container format is one the encoder can be created from.
        ComPtr<IWICBitmapEncoder> encoder;
        EXPECT_EQ(imagingFactory()->CreateEncoder(container, nullptr, &encoder), S_OK);
    }
}

TEST(EncoderLookup, MissingEncoderIsNotFound)
{
    // Depends on the installed codecs: neither Wine nor a stock Windows has a
    // WebP encoder (Windows ships only the decoder).
    GUID container{};
    EXPECT_FALSE(findEncoder(L".webp", container));
    EXPECT_FALSE(findEncoder(L".nosuchformat", container));
}

}  // namespace
