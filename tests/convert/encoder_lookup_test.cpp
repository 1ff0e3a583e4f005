// The extension match rule on the lists real encoders report; the lookup on
// this machine's encoders is tested with the transcode.
#include <gtest/gtest.h>

#include <tuple>

#include "convert/encoder_lookup.h"

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
