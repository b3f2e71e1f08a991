#pragma once
// The measures of a printed course schedule, in printer pixels, from the
// printable width and height of the page: the margin, the heading's two
// heights, where its two pictures go and the table's column edges.

struct SchedulePage {
    struct Box {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool operator==(const Box&) const = default;
    };

    int width = 0;       // printable width W
    int height = 0;      // printable height H
    int margin = 0;      // 0.05 W
    int heading1 = 0;    // 0.0304 H: the banner's height
    int heading2 = 0;    // 0.08 H: the picture's height
    int columnUnit = 0;  // the table spans 11.5 units, 0.9 W
    int columns[5] = {}; // left edges: ventilation, chest compression, scenario, manikin, time
    Box banner;          // bitmap 165
    Box picture;         // bitmap 166

    // The parts of the pictures that are printed, in their own pixels.
    static constexpr int BANNER_SOURCE_WIDTH = 411;
    static constexpr int BANNER_SOURCE_HEIGHT = 80;
    static constexpr int PICTURE_SOURCE_WIDTH = 415;
    static constexpr int PICTURE_SOURCE_HEIGHT = 315;

    // Every product truncated toward zero, as the page was always measured.
    static SchedulePage measure(int width, int height);
};
