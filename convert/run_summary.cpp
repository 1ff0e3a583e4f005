// Builds the batch run's status and summary texts. Counts are plain decimal
// digits, never grouped, although the words around them are German.
#include "convert/run_summary.h"

namespace {

std::wstring countOfCount(std::uint64_t part, std::uint64_t count)
{
    return std::to_wstring(part) + L" von " + std::to_wstring(count);
}

}  // namespace

std::wstring progressStatusText(std::uint64_t oneBasedIndex, std::uint64_t count, std::wstring_view name)
{
    return L"Verarbeite " + countOfCount(oneBasedIndex, count) + L": " + std::wstring(name);
}

std::wstring finalStatusText(std::uint64_t succeeded, std::uint64_t count)
{
    return countOfCount(succeeded, count) + L" Bild(ern) erfolgreich gespeichert.";
}

std::wstring failureLine(std::wstring_view name, std::wstring_view errorText)
{
    return std::wstring(name) + L": " + std::wstring(errorText);
}

std::wstring summaryText(std::uint64_t succeeded, std::uint64_t count, const std::vector<std::wstring>& failureLines,
                         std::size_t listLimit)
{
    std::wstring text = countOfCount(succeeded, count) + L" Bild(ern) wurden erfolgreich konvertiert.";
    if (failureLines.empty()) return text;

    text += L"\n\nNicht verarbeitet:\n";
    for (std::size_t i = 0; i < failureLines.size() && i < listLimit; ++i) {
        text += L"\u2022 " + failureLines[i] + L"\n";
    }
    if (failureLines.size() > listLimit) {
        text += L"\u2022 \u2026 und " + std::to_wstring(failureLines.size() - listLimit) + L" weitere";
    }
    return text;
}

std::wstring cancelledText(std::uint64_t notStarted)
{
    return L"\n\nAbgebrochen: " + std::to_wstring(notStarted) + L" Bild(er) wurden nicht verarbeitet.";
}

std::wstring noImagesText()
{
    return L"Bitte w\u00e4hle zuerst mindestens ein Bild aus.";
}

std::wstring folderUnusableText()
{
    return L"Das Zielverzeichnis konnte nicht angelegt oder ge\u00f6ffnet werden.";
}

std::wstring noEncoderText(std::wstring_view extension)
{
    return L"F\u00fcr " + std::wstring(extension) +
           L" ist auf diesem Windows-System kein Ausgabe-Encoder installiert.\n\n"
           L"Bitte w\u00e4hle ein anderes Zielformat oder installiere eine passende Windows-Codec-Erweiterung.";
}
