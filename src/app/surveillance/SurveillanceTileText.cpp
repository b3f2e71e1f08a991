#include "app/surveillance/SurveillanceTileText.h"

#include "gettext/Gettext.h"

std::wstring SurveillanceTileText::caption(const std::wstring& title, const std::wstring& ventilationPerson,
                                           const std::wstring& compressionPerson)
{
    return title + L"," + L" " + Gettext::translate("Vent.") + L":" + ventilationPerson + L" "
        + Gettext::translate("Comp.") + L":" + compressionPerson;
}

std::wstring SurveillanceTileText::rate(double compressionsPerMinute, bool refreshed)
{
    const int rate = static_cast<int>(compressionsPerMinute);
    if (rate == -1)
        return Gettext::translate(refreshed ? "---- comp./min" : "- comp./min");
    return std::to_wstring(rate) + L" " + Gettext::translate("comp./min");
}
