#include "app/livepanel/LiveButtons.h"

LiveButtons::States LiveButtons::forSession(bool running, bool stored, bool ended, std::int64_t elapsedSeconds,
                                            bool withToolbars)
{
    States states;
    if (running) {
        states.pause = true;
        states.toolbars = withToolbars;
        return states;
    }
    // A stored session has no manikin to start, an ended one no time left.
    states.start = !stored && !ended;
    states.blink = !stored;
    states.closeText = stored;
    states.debriefing = elapsedSeconds != 0;
    states.print = elapsedSeconds != 0;
    states.zoomButtons = true;
    states.scrollBar = true;
    return states;
}
