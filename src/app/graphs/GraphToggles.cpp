#include "app/graphs/GraphToggles.h"

#include "Rodezir/LogStream.h"

GraphToggles::GraphToggles(bool showCardiacOutput)
{
    find(CARDIAC_OUTPUT)->on = showCardiacOutput;
    unknown_.on = false;
}

GraphToggles::Toggle* GraphToggles::find(int controlId)
{
    for (std::size_t i = 0; i < IDS.size(); ++i)
        if (IDS[i] == controlId)
            return &toggles_[i];
    return nullptr;
}

const GraphToggles::Toggle* GraphToggles::find(int controlId) const
{
    return const_cast<GraphToggles*>(this)->find(controlId);
}

bool GraphToggles::get(int controlId) const
{
    const Toggle* toggle = find(controlId);
    KOVA_ASSERT(toggle != nullptr);
    return toggle && toggle->on;
}

void GraphToggles::set(int controlId, bool on)
{
    Toggle* toggle = find(controlId);
    KOVA_ASSERT(toggle != nullptr);
    if (!toggle)
        return;
    toggle->on = on;
    toggle->changed.notify(controlId, on);
}

Signal<int, bool>& GraphToggles::signal(int controlId)
{
    Toggle* toggle = find(controlId);
    return toggle ? toggle->changed : unknown_.changed;
}
