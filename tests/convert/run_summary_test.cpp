// The batch run's status line and summary texts, with and without failures.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "convert/run_summary.h"

TEST(RunSummary, PlainCountsAndAtMostEightListedFailures)
{
    // Counts are never grouped.
    EXPECT_EQ(progressStatusText(12345, 100000, L"a b.png"), L"Verarbeite 12345 von 100000: a b.png");
    EXPECT_EQ(finalStatusText(0, 1000), L"0 von 1000 Bild(ern) erfolgreich gespeichert.");
    EXPECT_EQ(failureLine(L"a b.png", L"Zugriff verweigert"), L"a b.png: Zugriff verweigert");
    EXPECT_EQ(summaryText(3, 3, {}), L"3 von 3 Bild(ern) wurden erfolgreich konvertiert.");

    const std::wstring head = L"1 von 12 Bild(ern) wurden erfolgreich konvertiert.\n\nNicht verarbeitet:\n";
    // Failures, how many of them are listed, and what follows the list.
    const std::tuple<int, int, const wchar_t*> cases[] = {
        {1, 1, L""}, {8, 8, L""}, {9, 8, L"\u2022 \u2026 und 1 weitere"}, {10, 8, L"\u2022 \u2026 und 2 weitere"}};
    for (const auto& [failed, listed, rest] : cases) {
        std::vector<std::wstring> lines;
        std::wstring bullets;
        for (int i = 1; i <= failed; ++i) {
            lines.push_back(failureLine(L"bild" + std::to_wstring(i) + L".jpg", L"Unbekannter Fehler"));
            if (i <= listed) bullets += L"\u2022 " + lines.back() + L"\n";
        }
        EXPECT_EQ(summaryText(1, 12, lines), head + bullets + rest) << failed << " failures";
    }
}
