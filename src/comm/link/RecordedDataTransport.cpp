#include "comm/link/RecordedDataTransport.h"

#include "Rodezir/LogStream.h"
#include "comm/link/LinkEnvironment.h"
#include "comm/link/SerialPort.h"

RecordedDataTransport::RecordedDataTransport(int portNumber)
{
    int set = portNumber % 3;
    KOVA_ASSERT(set >= 0);
    if (set < 0)
        set = 0;
    const LinkEnvironment* environment = LinkEnvironment::instance();
    data = environment != nullptr ? environment->collectedDataSet(set) : nullptr;
}

int RecordedDataTransport::open()
{
    return SerialPort::OPEN_SUCCESS;
}

LinkSteps RecordedDataTransport::identifySteps()
{
    // There is no device whose state a handshake could read.
    return LinkSteps::finished(SerialPort::OPEN_STATE_FAILED);
}
