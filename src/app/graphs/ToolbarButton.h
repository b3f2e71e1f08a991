#pragma once
// One button of a session's event toolbar, and the first part of a mark set on
// a graph: command id, text, tooltip and picture in the event-icon strip.

#include <cstddef>
#include <string>

struct EventRecord;

class ToolbarButton {
public:
    // The strip holds this many pictures; a mark's image outside it is refused.
    static constexpr int IMAGE_COUNT = 97;
    // Tooltips are meant to stay below this many characters.
    static constexpr std::size_t TOOLTIP_LIMIT = 80;
    static constexpr int SEPARATOR_ID = -1;

    ToolbarButton() = default;
    // A new button: the next command id of the run (the first is 100001).
    // A tooltip of 80 characters or more is logged and kept.
    ToolbarButton(std::wstring name, std::wstring toolTip, int image);
    // A gap between buttons.
    static ToolbarButton separator();
    // The button of a scenario event: its name with every "&" doubled, so the
    // button shows the text as it was written, and its tooltip as it stands.
    static ToolbarButton fromEvent(const EventRecord& event);
    static std::wstring doubleAmpersands(const std::wstring& text);

    // The id the newest button of the run got (100000 before the first).
    static int lastIssuedId();

    bool isSeparator() const { return id < 0; }

    int id = 0;
    std::wstring name;
    std::wstring toolTip;
    int image = 0;
};
