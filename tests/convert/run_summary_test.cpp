// The batch run's status line and summary texts, with and without failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/run_summary.h"

namespace {

std::vector<std::wstring> failures(int count)
{
    std::vector<std::wstring> lines;
    for (int i = 1; i <= count; ++i) {
        lines.push_back(failureLine(L"bild" + std::to_wstring(i) + L".jpg", L"Unbekannter Fehler"));
    }
    return lines;
}

std::wstring bulletLines(int count)
{
    std::wstring text;
    for (int i = 1; i <= count; ++i) text += L"\u2022 bild" + std::to_wstring(i) + L".jpg: Unbekannter Fehler\n";
    return text;
}

TEST(RunStatusText, ShowsPlainCountsAndTheFileName)
{
    // Counts are never grouped.
    EXPECT_EQ(progressStatusText(12345, 100000, L"a b.png"), L"Verarbeite 12345 von 100000: a b.png");
    EXPECT_EQ(finalStatusText(0, 1000), L"0 von 1000 Bild(ern) erfolgreich gespeichert.");
}

TEST(SummaryText, ListsAtMostEightFailuresAndCountsTheRest)
{
    const std::wstring head = L"\n\nNicht verarbeitet:\n";
    EXPECT_EQ(summaryText(3, 3, {}), L"3 von 3 Bild(ern) wurden erfolgreich konvertiert.");
    EXPECT_EQ(summaryText(0, 8, failures(8)),
              L"0 von 8 Bild(ern) wurden erfolgreich konvertiert." + head + bulletLines(8));
    EXPECT_EQ(summaryText(1, 10, failures(9)), L"1 von 10 Bild(ern) wurden erfolgreich konvertiert." + head +
                                                   bulletLines(8) + L"\u2022 \u2026 und 1 weitere");
    EXPECT_EQ(summaryText(2, 12, failures(10)), L"2 von 12 Bild(ern) wurden erfolgreich konvertiert." + head +
                                                    bulletLines(8) + L"\u2022 \u2026 und 2 weitere");
}

}  // namespace
