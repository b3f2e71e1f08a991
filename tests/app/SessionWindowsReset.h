#pragma once
// Takes back what a window test installed in the sessions' windows, so the
// next test starts from the program's own: the save question, the end
// sound, every panel factory and the windows factory.

#include "app/sessions/SessionWindowSet.h"

namespace sessiontest {

inline void uninstallSessionWindows()
{
    SessionWindowSet::setSaveQuestion({});
    SessionWindowSet::setEndSound({});
    for (const auto kind : {SessionWindows::Panel::Graph, SessionWindows::Panel::Debrief, SessionWindows::Panel::Review})
        SessionWindowSet::setPanelFactory(kind, {});
    SessionWindows::setFactory({});
}

} // namespace sessiontest
