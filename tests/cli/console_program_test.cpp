// The real lumora-cli.exe started as a process, its output redirected to
// files: what it prints, its exit codes, what it writes compared with the
// window's run on the same files, and Ctrl+C in the middle of a run.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "convert/encoder_lookup.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "support/wic_files.h"

namespace {
constexpr wchar_t kCli[] = L"lumora-cli.exe";

std::string utf8(const std::wstring& text)
{
    const std::u8string bytes = std::filesystem::path(text).u8string();
    return {bytes.begin(), bytes.end()};
}

class ConsoleProgramTest : public MainWindowTest {
protected:
    std::wstring image(const std::wstring& name, std::uint32_t width, std::uint32_t height,
                       const GUID& container = GUID_ContainerFormatPng)
    {
        const std::wstring path = writeSmallPng(sources.file(name));
        EXPECT_EQ(writeTestImage(path, container, width, height, GUID_WICPixelFormat24bppBGR), S_OK);
        return path;
    }

    TempFolder sources;
    TempFolder target;
};
}  // namespace

TEST_F(ConsoleProgramTest, ExitCodesSayHowItWentAndNamesArriveWholeAsUtf8)
{
    const std::wstring photo = image(L"F\u00f6tos \u00f1\\\u00dcbung \u00e4\u20ac.png", 20, 10);
    writeFileBytes(sources.file(L"kaputt.jpg"), "kein Bild");
    writeFileBytes(sources.file(L"datei"), "kein Ordner");
    const std::wstring folder = target.file(L"neu \u00df");
    GUID webp{};
    // Depends on the installed codecs: Wine and a plain Windows have no WebP encoder.
    const bool webpWritable = findEncoder(L".webp", webp);
    const struct { std::wstring arguments; DWORD exitCode; std::wstring out, errStart; } cases[] = {
        {L"--ziel " + quoted(folder) + L" " + quoted(photo), 0,
         L"\u00dcbung \u00e4\u20ac.png \u2192 " + folder + L"\\\u00dcbung \u00e4\u20ac.jpg\n"
         L"1 von 1 Bild(ern) wurden erfolgreich konvertiert.\n", L"Verarbeite 1 von 1: \u00dcbung \u00e4\u20ac.png\n"},
        {L"--prognose " + quoted(sources.file(L"kaputt.jpg")), 1,
         L"Gr\u00f6\u00dfenprognose: Bitte zuerst Bilder ausw\u00e4hlen.\nKeine Bilder ausgew\u00e4hlt\n"
         L"1 Datei(en) konnten von Windows nicht als Bild gelesen werden.\n", L""},
        {L"--hilfe", 0, L"Aufruf: lumora-cli [Optionen] Pfad...\n", L""},
        {L"--ziel x --breite viel a.png", 2, L"", L"Keine Zahl f\u00fcr --breite: viel\n\nAufruf: lumora-cli"},
        {L"--ziel " + quoted(sources.file(L"datei\\unter")) + L" " + quoted(photo), 3, L"",
         L"Das Zielverzeichnis konnte nicht angelegt oder ge\u00f6ffnet werden.\n"},
        {L"--format webp --ziel " + quoted(folder) + L" " + quoted(photo), webpWritable ? 0u : 3u, L"",
         webpWritable ? L"" : L"F\u00fcr .webp ist auf diesem Windows-System kein Ausgabe-Encoder installiert.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.arguments);
        const ProgramRun finished = runProgram(kCli, c.arguments);
        EXPECT_EQ(finished.exitCode, c.exitCode);
        EXPECT_TRUE(finished.out.starts_with(utf8(c.out))) << finished.out;
        EXPECT_TRUE(finished.err.starts_with(utf8(c.errStart))) << finished.err;
    }
    EXPECT_EQ(fileNamesIn(folder), std::vector<std::wstring>{L"\u00dcbung \u00e4\u20ac.jpg"});
}

TEST_F(ConsoleProgramTest, TheConsoleShowsAndWritesWhatTheWindowDoes)
{
    // Two stems taken, one image whose target is beyond the size limits, whose
    // name is then free for the next image of that stem.
    const std::vector<std::wstring> paths = {image(L"a\\bild.png", 40, 30), image(L"a\\breit.jpg", 3300, 3300, GUID_ContainerFormatJpeg),
                                             image(L"b\\bild.jpg", 36, 20, GUID_ContainerFormatJpeg),
                                             image(L"b\\breit.png", 8, 8)};
    addThroughDialog({paths[0], paths[1]});
    addThroughDialog({paths[2], paths[3]});
    typeInto(kTargetFolderEdit, target.file(L"fenster"));
    selectCombo(kFormatCombo, 2);
    selectCombo(kScaleCombo, 1);
    typeInto(kPercentEdit, L"500");
    std::string shown;
    for (int row = 0; row < rowCount(); ++row) {
        std::wstring line = cell(row, 0);
        for (int column = 1; column < 6; ++column) line += L"\t" + cell(row, column);
        shown += utf8(line + L"\n");
    }
    shown += utf8(text(kForecastText) + L"\n" + text(kSummaryText) + L"\n");
    std::wstring files;
    for (const std::wstring& path : paths) files += L" " + quoted(path);
    EXPECT_EQ(runProgram(kCli, L"--prognose --format png --prozent 500" + files).out, shown);

    for (const std::wstring& folder : {target.file(L"fenster"), target.file(L"konsole")})
        writeSmallPng(folder + L"\\bild.png");
    click(kStartButton);
    ASSERT_TRUE(pumpUntil([this] { return !messages.empty(); }));
    const ProgramRun finished =
        runProgram(kCli, L"--ziel " + quoted(target.file(L"konsole")) + L" --format png --prozent 500" + files);
    EXPECT_EQ(finished.exitCode, 1u);
    EXPECT_NE(finished.out.find(utf8(messages[0].text)), std::string::npos) << finished.out;
    const std::vector<std::wstring> names = {L"bild (2).png", L"bild (3).png", L"bild.png", L"breit.png"};
    EXPECT_EQ(fileNamesIn(target.file(L"fenster")), names);
    EXPECT_EQ(fileNamesIn(target.file(L"konsole")), names);
    for (const std::wstring& name : names)
        EXPECT_TRUE(readFileBytes(target.file(L"fenster\\" + name)) == readFileBytes(target.file(L"konsole\\" + name)))
            << name;
}

TEST_F(ConsoleProgramTest, CtrlCCancelsLikeAbbrechenAndLeavesOnlyWholeFiles)
{
    // The child shares a console of this process's own: Wine delivers no event
    // through the console a test run inherits from outside.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    std::wstring files;
    for (const wchar_t* name : {L"a.png", L"b.png", L"c.png"}) files += L" " + quoted(image(name, 1600, 1200));
    const ProgramRun finished = runProgram(kCli, 
        L"--parallel 1 --format png --ziel " + quoted(target.path()) + files, CREATE_NEW_PROCESS_GROUP,
        [](const PROCESS_INFORMATION& process, const std::wstring& err) {
            while (readFileBytes(err).find("Verarbeite 1 von 3") == std::string::npos)
                ASSERT_EQ(WaitForSingleObject(process.hProcess, 10), WAIT_TIMEOUT);
            EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, process.dwProcessId));
        });
    EXPECT_EQ(finished.exitCode, 4u);
    EXPECT_NE(finished.out.find("\n\nAbgebrochen: "), std::string::npos) << finished.out;
    const std::vector<std::wstring> written = fileNamesIn(target.path());
    EXPECT_LT(written.size(), 3u);
    for (const std::wstring& name : written) {
        EXPECT_NE(finished.out.find(utf8(name + L" \u2192 ")), std::string::npos) << name;
        EXPECT_EQ(readImageFacts(target.file(name)).result, S_OK) << name;
    }
}
