#pragma once
// How one debriefing row's bar spans its values: the area the bar's width
// covers, the green range of good results with its tip flags, and the scale
// handed to the bar painter unchanged.

struct DebriefBar {
    double areaLow = 0.0;
    double areaHigh = 0.0;
    double rangeLow = 0.0;
    double rangeHigh = 0.0;
    bool rangeLeftTip = false;
    bool rangeRightTip = false;
    bool scaleLeftTip = false;
    bool scaleRightTip = true;
    int scaleLeftMargin = 10;
    int scaleRightMargin = 10;

    bool operator==(const DebriefBar&) const = default;
};
