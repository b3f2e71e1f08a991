#include "app/graphs/ToolbarButton.h"

#include "Database/EventRecord.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"

#include <utility>

namespace {

// Command ids are never reused while the program runs, so the buttons of two
// sessions never answer each other's commands or tooltips.
int lastId = 100000;

} // namespace

ToolbarButton::ToolbarButton(std::wstring name, std::wstring toolTip, int image)
    : id(++lastId), name(std::move(name)), toolTip(std::move(toolTip)), image(image)
{
    KOVA_ASSERT(this->toolTip.size() < TOOLTIP_LIMIT);
}

ToolbarButton ToolbarButton::separator()
{
    ToolbarButton gap;
    gap.id = SEPARATOR_ID;
    return gap;
}

ToolbarButton ToolbarButton::fromEvent(const EventRecord& event)
{
    // Only a caption takes "&" for a mnemonic; the tooltip shows its text as it stands.
    return ToolbarButton(doubleAmpersands(toWide(event.name)), toWide(event.tooltip), static_cast<int>(event.icon));
}

std::wstring ToolbarButton::doubleAmpersands(const std::wstring& text)
{
    std::wstring doubled;
    doubled.reserve(text.size());
    for (const wchar_t c : text) {
        doubled += c;
        if (c == L'&')
            doubled += L'&';
    }
    return doubled;
}

int ToolbarButton::lastIssuedId() { return lastId; }
