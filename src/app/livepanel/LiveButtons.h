#pragma once
// The controls of the live graph panel for its session's state, without
// windows: while running only Pause works and the event toolbars show; once
// paused Start (live sessions that have not ended), the zoom buttons and the
// scroll bar come back, the time caption blinks "Pause", and Debriefing >>
// and Print... work as soon as some time was recorded.

#include <cstdint>

class LiveButtons {
public:
    struct States {
        bool start = false;
        bool pause = false;
        bool debriefing = false;
        bool print = false;
        bool zoomButtons = false;
        bool toolbars = false;
        bool scrollBar = false;
        // The time caption blinks the pause text (a paused live session).
        bool blink = false;
        // The cancel button reads "Close" (a stored session).
        bool closeText = false;
        friend bool operator==(const States&, const States&) = default;
    };

    // `stored`: a session read from its file, which never runs; `ended`: a
    // timed session that has reached its duration; `withToolbars`: the
    // session registers events.
    static States forSession(bool running, bool stored, bool ended, std::int64_t elapsedSeconds,
                              bool withToolbars);
};
