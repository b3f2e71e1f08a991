#include "app/graphs/GraphText.h"

#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"

namespace GraphText {

std::wstring valueLabel(double value, const std::wstring& unit)
{
    return formatWide(L"%0.2f %s", value, unit.c_str());
}

std::wstring crRatio(int percent, bool asPercent)
{
    if (asPercent)
        return formatWide(L"%02d:%02d", percent, 100 - percent);
    const double share = percent * 0.01;
    if (share == 1.0)
        return L"-";
    return formatWide(L"%.1f", share / (1.0 - share));
}

std::wstring cardiacOutput(double litresPerMinute) { return formatWide(L"%.1f", litresPerMinute); }

std::wstring spanLength(std::int64_t milliseconds)
{
    if (milliseconds >= 60000) {
        const long long seconds = milliseconds / 1000;
        return formatWide(L"%d:%02d ", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60))
               + Gettext::translate("min:sec");
    }
    return formatWide(L"%02.1f ", milliseconds / 1000.0) + Gettext::translate("sec");
}

std::wstring readout(std::int64_t milliseconds, double value, const std::wstring& unit)
{
    const long long seconds = milliseconds / 1000;
    const std::wstring format = Gettext::translate("%2d:%02d min:sec, %2.2f %s");
    return formatWide(format.c_str(), static_cast<int>(seconds / 60), static_cast<int>(seconds % 60), value,
                      unit.c_str());
}

} // namespace GraphText
