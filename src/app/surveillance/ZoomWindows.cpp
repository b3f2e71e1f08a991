#include "app/surveillance/ZoomWindows.h"

#include "Rodezir/LogStream.h"
#include "gettext/Gettext.h"

#include <algorithm>
#include <climits>
#include <cmath>

std::wstring ZoomWindows::text(int milliseconds)
{
    if (milliseconds < 60000)
        return std::to_wstring(milliseconds / 1000) + Gettext::translate(" sec.");
    return std::to_wstring(milliseconds / 60000) + Gettext::translate(" min.");
}

int ZoomWindows::indexOf(int milliseconds)
{
    const auto at = std::find(LENGTHS_MS.begin(), LENGTHS_MS.end(), milliseconds);
    return at == LENGTHS_MS.end() ? -1 : static_cast<int>(at - LENGTHS_MS.begin());
}

int ZoomWindows::windowIndexes(int milliseconds, double rate)
{
    const double currentFreq = rate;
    KOVA_ASSERT(currentFreq!=0.0);
    // A window wider than an int of samples (a rate no manikin has) stops at the int's end.
    const double samples = (milliseconds * currentFreq + 500) * 0.001;
    if (std::isnan(samples))
        return 0;
    return static_cast<int>(std::clamp(samples, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}
