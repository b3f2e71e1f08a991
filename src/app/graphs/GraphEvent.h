#pragma once
// A mark the instructor set on a curve: the event-toolbar button and the index
// of the sample at which it was set (-1 when set before the first sample).

#include "app/graphs/ToolbarButton.h"

struct GraphEvent : ToolbarButton {
    GraphEvent() = default;
    GraphEvent(const ToolbarButton& item, int sampleIndex) : ToolbarButton(item), sampleIndex(sampleIndex) {}

    int sampleIndex = -1;
};
