// Formats byte counts for display. The unit is chosen before rounding, so a
// value just below a unit step keeps the smaller unit ("1024 KB").
#include "forecast/byte_size.h"

#include <array>
#include <iomanip>
#include <locale>
#include <sstream>

namespace {
constexpr std::array<const wchar_t*, 5> kUnits{L"B", L"KB", L"MB", L"GB", L"TB"};
}

std::wstring formatByteSize(double bytes)
{
    std::size_t unit = 0;
    while (bytes >= 1024 && unit + 1 < kUnits.size()) {
        bytes *= 0.0009765625;
        ++unit;
    }
    const int decimals = (unit == 0 || bytes >= 100) ? 0 : 1;

    // Numbers are never localised, whatever the user's regional settings say.
    std::wostringstream text;
    text.imbue(std::locale::classic());
    text << std::fixed << std::setprecision(decimals) << bytes << L' ' << kUnits[unit];
    return text.str();
}
