#include "app/SessionPrinting.h"

namespace SessionPrinting {
namespace {

Printer& installed()
{
    static Printer printer;
    return printer;
}

} // namespace

void install(Printer printer) { installed() = std::move(printer); }

bool print(Session& session, bool debriefing)
{
    if (!installed())
        return false;
    installed()(session, debriefing);
    return true;
}

} // namespace SessionPrinting
