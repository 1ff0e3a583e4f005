// The console program's options read as the window reads its panel: the same
// defaults, the same clamping, and a usage error that names its cause.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "cli/cli_options.h"

namespace {
std::vector<std::wstring> words(const std::wstring& line)
{
    std::wistringstream stream(line);
    return {std::istream_iterator<std::wstring, wchar_t>(stream), {}};
}
}  // namespace

TEST(CliOptionsTest, NumbersAreClampedAsThePanelClampsThem)
{
    const struct { std::wstring line; ConversionSettings settings; } cases[] = {
        {L"--ziel z a.png", {0, ScaleMode::SourceSize, true, 1920, 1080, 100, 85}},
        {L"a.png --format TIFF --breite 250000 --ziel z --qualitaet 3", {4, ScaleMode::FixedWidth, true, 100000, 1080, 100, 10}},
        {L"--hoehe -5 --verzerren --ziel z a.png --format gif", {6, ScaleMode::FixedHeight, false, 1920, 1, 100, 85}},
        {L"--prozent 12px --qualitaet 400 --prognose a.png", {0, ScaleMode::Percent, true, 1920, 1080, 12, 100}},
        {L"--groesse 800X0 --format jfif --prognose a.png", {1, ScaleMode::ExactSize, true, 800, 1, 100, 85}},
    };
    for (const auto& c : cases) {
        const ParsedArguments parsed = parseArguments(words(c.line));
        SCOPED_TRACE(testing::Message() << c.line << ": " << parsed.error);
        ASSERT_TRUE(parsed.error.empty());
        const ConversionSettings& s = parsed.options.settings;
        EXPECT_EQ(std::tie(s.formatIndex, s.scaleMode, s.keepAspect, s.width, s.height, s.percent, s.quality),
                  std::tie(c.settings.formatIndex, c.settings.scaleMode, c.settings.keepAspect, c.settings.width,
                           c.settings.height, c.settings.percent, c.settings.quality));
        EXPECT_EQ(parsed.options.paths, std::vector<std::wstring>{L"a.png"});
    }
}

TEST(CliOptionsTest, AUsageErrorNamesWhatIsWrong)
{
    const struct { std::wstring line; std::wstring error; } cases[] = {
        {L"--ziel z", L"Keine Pfade angegeben."},
        {L"a.png", L"Die Option --ziel fehlt (oder --prognose)."},
        {L"--ziel z --bunt a.png", L"Unbekannte Option: --bunt"},
        {L"a.png --ziel", L"Zur Option --ziel fehlt der Wert."},
        {L"--ziel z --breite 99999999999 a.png", L"Keine Zahl f\u00fcr --breite: 99999999999"},
        {L"--ziel z --groesse 800 a.png", L"Keine Gr\u00f6\u00dfe f\u00fcr --groesse (BREITExHOEHE): 800"},
        {L"--ziel z --format heic a.png", L"Unbekanntes Format: heic"},
        {L"--ziel z --breite 10 --prozent 5 a.png",
         L"Nur eine Skalierungsoption ist m\u00f6glich: --breite, --hoehe, --prozent oder --groesse."},
    };
    for (const auto& c : cases) EXPECT_EQ(parseArguments(words(c.line)).error, c.error) << c.line;
    for (const wchar_t* help : {L"--hilfe", L"-h", L"/?"}) {
        const ParsedArguments parsed = parseArguments({help});
        EXPECT_TRUE(parsed.error.empty() && parsed.options.help) << help;
    }
    EXPECT_EQ(parseArguments(words(L"--prognose -- --hilfe")).options.paths, std::vector<std::wstring>{L"--hilfe"});
}
