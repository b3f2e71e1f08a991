#pragma once
// Where the live graph panel puts its graph area, without windows: the four
// labels at the corners, the two event toolbars, the scroll bar, the time
// axis and the ventilation, ECG and compression panes, on screen for a
// client size and on paper for a rectangle. With the ECG curve the axis sits
// under the ventilation pane and a free band of the axis's height separates
// the ECG pane from the compression pane, so the compression curve is never
// read against the ECG's times.

#include <optional>

class LiveGraphLayout {
public:
    // The largest coordinate or size a pane or toolbar may be given.
    static constexpr int COORDINATE_LIMIT = 40000;

    struct Rect {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        int right() const { return x + width; }
        int bottom() const { return y + height; }
        friend bool operator==(const Rect&, const Rect&) = default;
    };

    struct Input {
        int clientWidth = 0;
        int clientHeight = 0;
        // Left edge of the graph area: where the template puts the top-left label.
        int labelLeft = 0;
        // Text height of the panel's bold font, and the template's rate label height.
        int textHeight = 0;
        int rateLabelHeight = 0;
        int axisHeight = 0;
        // One event toolbar's height (0 without toolbars) and whether they show.
        int toolbarHeight = 0;
        bool toolbarsShown = false;
        bool scrollBarShown = false;
        // The platform's horizontal scroll bar height.
        int scrollBarHeight = 0;
        bool ecg = false;
    };

    struct Screen {
        // False when the client area is empty: nothing is moved.
        bool placed = false;
        Rect ventilationLabel; // 1005, top left
        Rect positionLabel;    // 1007, top right
        Rect compressionLabel; // 1006, bottom left
        Rect rateLabel;        // 1008, bottom right
        std::optional<Rect> upperToolbar;
        std::optional<Rect> lowerToolbar;
        std::optional<Rect> scrollBar;
        Rect axis;
        // A pane is placed only when it has a width and a height.
        std::optional<Rect> ventilation;
        std::optional<Rect> ecgPane;
        std::optional<Rect> compression;
    };

    static Screen screen(const Input& in);

    // Inclusive page coordinates as the printed graphs use them.
    struct Box {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        friend bool operator==(const Box&, const Box&) = default;
    };
    struct Paper {
        Box ventilation;
        std::optional<Box> ecgPane;
        Box compression;
        Box axis;
        // The thin frames round the axis band(s); the thick frame goes round the whole.
        Box axisFrame;
        std::optional<Box> ecgBandFrame;
    };
    static Paper paper(const Box& area, int axisHeight, bool ecg);

    // Whether a rectangle given to a pane or toolbar stays within 0..40000.
    static bool withinLimits(const Rect& rect);
};
