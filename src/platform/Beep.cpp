#include "platform/Beep.h"

#include <QApplication>

namespace platform {
namespace {
BeepFunction& installed()
{
    static BeepFunction function;
    return function;
}
} // namespace

void messageBeep()
{
    if (installed())
        installed()();
    else
        QApplication::beep();
}

BeepFunction setBeepFunction(BeepFunction function)
{
    BeepFunction previous = std::move(installed());
    installed() = std::move(function);
    return previous;
}

} // namespace platform
