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
    for (int i = 1; i <= count; ++i) {
        text += L"\u2022 bild" + std::to_wstring(i) + L".jpg: Unbekannter Fehler\n";
    }
    return text;
}

TEST(RunStatusText, ShowsPlainCountsAndTheFileName)
{
    EXPECT_EQ(progressStatusText(1, 3, L"urlaub.jpg"), L"Verarbeite 1 von 3: urlaub.jpg");
    EXPECT_EQ(progressStatusText(12345, 100000, L"a b.png"), L"Verarbeite 12345 von 100000: a b.png");
    EXPECT_EQ(progressStatusText(18446744073709551615u, 18446744073709551615u, L"x"),
              L"Verarbeite 18446744073709551615 von 18446744073709551615: x");
    EXPECT_EQ(finalStatusText(3, 3), L"3 von 3 Bild(ern) erfolgreich gespeichert.");
    EXPECT_EQ(finalStatusText(0, 1000), L"0 von 1000 Bild(ern) erfolgreich gespeichert.");
    EXPECT_EQ(failureLine(L"foto.png", L"Zugriff verweigert."), L"foto.png: Zugriff verweigert.");
}

TEST(SummaryText, ListsAtMostEightFailuresAndCountsTheRest)
{
    const std::wstring head = L"\n\nNicht verarbeitet:\n";
    const struct {
        std::uint64_t succeeded;
        std::uint64_t count;
        int failed;
        std::wstring text;
    } cases[] = {
        {3, 3, 0, L"3 von 3 Bild(ern) wurden erfolgreich konvertiert."},
        {0, 1, 1, L"0 von 1 Bild(ern) wurden erfolgreich konvertiert." + head + bulletLines(1)},
        {0, 8, 8, L"0 von 8 Bild(ern) wurden erfolgreich konvertiert." + head + bulletLines(8)},
        {1, 10, 9,
         L"1 von 10 Bild(ern) wurden erfolgreich konvertiert." + head + bulletLines(8) +
             L"\u2022 \u2026 und 1 weitere"},
        {2, 12, 10,
         L"2 von 12 Bild(ern) wurden erfolgreich konvertiert." + head + bulletLines(8) +
             L"\u2022 \u2026 und 2 weitere"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(summaryText(c.succeeded, c.count, failures(c.failed)), c.text) << c.failed << " failures";
    }
}

}  // namespace
