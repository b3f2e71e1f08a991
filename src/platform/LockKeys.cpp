#include "platform/LockKeys.h"

#include <QGuiApplication>

#ifdef KOVA_HAVE_X11
#include <X11/XKBlib.h>
#endif

#include <utility>

namespace platform {
namespace {

LockKeysReader& installed()
{
    static LockKeysReader reader;
    return reader;
}

#ifdef KOVA_HAVE_X11
// One indicator of the core keyboard by its name; nothing when the keyboard has none of that name.
std::optional<bool> indicator(Display* display, const char* name)
{
    const Atom atom = XInternAtom(display, name, False);
    Bool on = False;
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != False;
}
#endif

std::optional<LockKeys> windowingSystemLockKeys()
{
#ifdef KOVA_HAVE_X11
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    const auto caps = indicator(display, "Caps Lock");
    const auto num = indicator(display, "Num Lock");
    const auto scroll = indicator(display, "Scroll Lock");
    if (!caps && !num && !scroll)
        return std::nullopt;
    return LockKeys{caps.value_or(false), num.value_or(false), scroll.value_or(false)};
#else
    return std::nullopt;
#endif
}

} // namespace

std::optional<LockKeys> lockKeys()
{
    if (installed())
        return installed()();
    return windowingSystemLockKeys();
}

LockKeysReader setLockKeysReader(LockKeysReader reader) { return std::exchange(installed(), std::move(reader)); }

} // namespace platform
