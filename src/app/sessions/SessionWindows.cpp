#include "app/sessions/SessionWindows.h"

namespace {

SessionWindows::Factory& installedFactory()
{
    static SessionWindows::Factory factory;
    return factory;
}

} // namespace

void SessionWindows::setFactory(Factory factory) { installedFactory() = std::move(factory); }

std::unique_ptr<SessionWindows> SessionWindows::make(Session& session)
{
    std::unique_ptr<SessionWindows> windows;
    if (installedFactory())
        windows = installedFactory()(session);
    if (!windows)
        windows = std::make_unique<NoSessionWindows>();
    return windows;
}
