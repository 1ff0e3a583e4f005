// Reads the options in any order; everything that is not an option is a path.
// Settings start as the window's panel starts, so a missing option means what
// the untouched window would do.
#include "cli/cli_options.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>


namespace {
constexpr int kLowestQuality = 10;
constexpr int kHighestQuality = 100;
constexpr std::int32_t kMostWorkers = 64;

struct FormatName {
    const wchar_t* name;
    int formatIndex;
};
constexpr FormatName kFormatNames[] = {{L"jpeg", 0}, {L"jpg", 0}, {L"jfif", 1}, {L"png", 2}, {L"webp", 3},
                                       {L"tiff", 4}, {L"tif", 4}, {L"bmp", 5},  {L"gif", 6}};

std::wstring lowered(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; });
    return text;
}

class Parser {
public:
    explicit Parser(const std::vector<std::wstring>& arguments) : arguments_(arguments)
    {
        // The window's panel at start: its width and height edits hold these.
        result_.options.settings.width = 1920;
        result_.options.settings.height = 1080;
    }

    ParsedArguments run()
    {
        while (next_ < arguments_.size() && result_.error.empty()) take(arguments_[next_++]);
        const CliOptions& options = result_.options;
        if (!result_.error.empty() || options.help) return result_;
        if (options.paths.empty()) return fail(L"Keine Pfade angegeben.");
        if (options.targetFolder.empty() && !options.forecastOnly)
            return fail(L"Die Option --ziel fehlt (oder --prognose).");
        return result_;
    }

private:
    ParsedArguments fail(std::wstring text)
    {
        result_.error = std::move(text);
        return result_;
    }

    std::optional<std::wstring> value(const std::wstring& option)
    {
        if (next_ < arguments_.size()) return arguments_[next_++];
        fail(L"Zur Option " + option + L" fehlt der Wert.");
        return std::nullopt;
    }

    std::optional<std::int32_t> number(const std::wstring& option, std::int32_t upperBound)
    {
        const std::optional<std::wstring> text = value(option);
        if (!text) return std::nullopt;
        const std::optional<std::int32_t> parsed = parseIntSetting(*text, upperBound);
        if (!parsed) fail(L"Keine Zahl f\u00fcr " + option + L": " + *text);
        return parsed;
    }

    void scale(const std::wstring& option, ScaleMode mode)
    {
        ConversionSettings& settings = result_.options.settings;
        if (scaleChosen_) {
            fail(L"Nur eine Skalierungsoption ist m\u00f6glich: --breite, --hoehe, --prozent oder --groesse.");
            return;
        }
        scaleChosen_ = true;
        settings.scaleMode = mode;
        if (mode == ScaleMode::FixedWidth) settings.width = number(option, kMaxSide);
        if (mode == ScaleMode::FixedHeight) settings.height = number(option, kMaxSide);
        if (mode == ScaleMode::Percent) settings.percent = number(option, kMaxPercent).value_or(100);
        if (mode == ScaleMode::ExactSize) size(option);
    }

    void size(const std::wstring& option)
    {
        const std::optional<std::wstring> text = value(option);
        if (!text) return;
        const std::size_t cross = text->find_first_of(L"xX\u00d7");
        ConversionSettings& settings = result_.options.settings;
        if (cross != std::wstring::npos) {
            settings.width = parseIntSetting(std::wstring_view(*text).substr(0, cross), kMaxSide);
            settings.height = parseIntSetting(std::wstring_view(*text).substr(cross + 1), kMaxSide);
        }
        if (cross == std::wstring::npos || !settings.width || !settings.height)
            fail(L"Keine Gr\u00f6\u00dfe f\u00fcr " + option + L" (BREITExHOEHE): " + *text);
    }

    void format(const std::wstring& option)
    {
        const std::optional<std::wstring> text = value(option);
        if (!text) return;
        const auto known = std::find_if(std::begin(kFormatNames), std::end(kFormatNames),
                                        [name = lowered(*text)](const FormatName& format) { return name == format.name; });
        if (known == std::end(kFormatNames))
            fail(L"Unbekanntes Format: " + *text);
        else
            result_.options.settings.formatIndex = known->formatIndex;
    }

    void take(const std::wstring& argument)
    {
        CliOptions& options = result_.options;
        if (optionsEnded_ || argument.empty() || (argument[0] != L'-' && argument != L"/?")) {
            if (!argument.empty()) options.paths.push_back(argument);
        } else if (argument == L"--") {
            optionsEnded_ = true;
        } else if (argument == L"--hilfe" || argument == L"-h" || argument == L"/?") {
            options.help = true;
        } else if (argument == L"--ziel") {
            options.targetFolder = value(argument).value_or(L"");
        } else if (argument == L"--format") {
            format(argument);
        } else if (argument == L"--breite") {
            scale(argument, ScaleMode::FixedWidth);
        } else if (argument == L"--hoehe") {
            scale(argument, ScaleMode::FixedHeight);
        } else if (argument == L"--prozent") {
            scale(argument, ScaleMode::Percent);
        } else if (argument == L"--groesse") {
            scale(argument, ScaleMode::ExactSize);
        } else if (argument == L"--verzerren") {
            options.settings.keepAspect = false;
        } else if (argument == L"--qualitaet") {
            options.settings.quality =
                std::clamp<int>(number(argument, kHighestQuality).value_or(85), kLowestQuality, kHighestQuality);
        } else if (argument == L"--parallel") {
            options.workers = static_cast<unsigned>(number(argument, kMostWorkers).value_or(0));
        } else if (argument == L"--prognose") {
            options.forecastOnly = true;
        } else {
            fail(L"Unbekannte Option: " + argument);
        }
    }

    const std::vector<std::wstring>& arguments_;
    std::size_t next_ = 0;
    bool scaleChosen_ = false;
    bool optionsEnded_ = false;
    ParsedArguments result_;
};
}  // namespace

ParsedArguments parseArguments(const std::vector<std::wstring>& arguments)
{
    return Parser(arguments).run();
}

std::wstring usageText()
{
    return L"Aufruf: lumora-cli [Optionen] Pfad...\n"
           L"Konvertiert Bilder wie Lumora, ohne Fenster. Ordner werden mit allen Unterordnern gelesen.\n"
           L"\n"
           L"  --ziel ORDNER          Zielordner, wird bei Bedarf angelegt (zum Konvertieren n\u00f6tig)\n"
           L"  --format FORMAT        jpeg, jfif, png, webp, tiff, bmp oder gif (Standard: jpeg)\n"
           L"  --breite N             feste Breite in Pixeln\n"
           L"  --hoehe N              feste H\u00f6he in Pixeln\n"
           L"  --prozent N            prozentual, 1 bis 500\n"
           L"  --groesse BxH          exakte Gr\u00f6\u00dfe, z. B. 1920x1080\n"
           L"  --verzerren            Seitenverh\u00e4ltnis nicht beibehalten\n"
           L"                         Ohne Skalierungsoption bleibt die Originalgr\u00f6\u00dfe.\n"
           L"  --qualitaet N          Qualit\u00e4t 10 bis 100 (Standard: 85)\n"
           L"  --parallel N           so viele Bilder gleichzeitig (Standard: nach Prozessoren und Speicher)\n"
           L"  --prognose             nichts konvertieren, nur Zielma\u00df und Gr\u00f6\u00dfenprognose zeigen\n"
           L"  --hilfe, -h, /?        diese Hilfe\n"
           L"\n"
           L"Exit-Codes: 0 alles konvertiert, 1 ein Bild oder eine Datei nicht verarbeitet, 2 Aufruf fehlerhaft,\n"
           L"            3 nichts konnte beginnen, 4 abgebrochen (Strg+C).\n";
}
