#include "comm/link/LinkEnvironment.h"

#include "comm/link/PortNumbers.h"

namespace {

const LinkEnvironment* installed = nullptr;

} // namespace

const LinkEnvironment* LinkEnvironment::instance()
{
    return installed;
}

void LinkEnvironment::setInstance(const LinkEnvironment* environment)
{
    installed = environment;
}

bool LinkEnvironment::demoSwitch()
{
    return installed != nullptr && installed->demoMode();
}

int LinkEnvironment::communicationDelay()
{
    return installed != nullptr ? installed->commDelay() : 0;
}

bool LinkEnvironment::isRecordedDataPortNumber(int port)
{
    return demoSwitch() && port >= FIRST_RECORDED_DATA_PORT && port <= LAST_RECORDED_DATA_PORT;
}
