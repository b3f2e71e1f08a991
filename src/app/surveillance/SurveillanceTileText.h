#pragma once
// The two texts of a surveillance tile: the caption line (the session's title
// and its two trainees) and the compression rate. Window-free.

#include <string>

class SurveillanceTileText {
public:
    // "<title>, Vent.:<person> Comp.:<person>", the abbreviations translated.
    static std::wstring caption(const std::wstring& title, const std::wstring& ventilationPerson,
                                const std::wstring& compressionPerson);
    // "98 comp./min" for a rate of 98.x; without a rate yet (one that
    // truncates to -1) "- comp./min" when the tile is made and "---- comp./min"
    // once the view's timer refreshes it.
    static std::wstring rate(double compressionsPerMinute, bool refreshed);
};
