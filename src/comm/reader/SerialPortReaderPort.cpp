#include "comm/reader/SerialPortReaderPort.h"

#include "comm/link/CollectedDataSet.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"

ManikinReader::ManikinReader(SerialPort& port)
    : ManikinReader(std::make_unique<SerialPortReaderPort>(port))
{
}

SerialPortReaderPort::SerialPortReaderPort(SerialPort& port)
    : port_(port)
{
}

int SerialPortReaderPort::portNumber() const
{
    return port_.getPortNumber();
}

bool SerialPortReaderPort::isRecordedDataPort() const
{
    return port_.isRecordedDataPort();
}

ManikinSample SerialPortReaderPort::recordedSample(int index) const
{
    const CollectedDataSet* data = port_.getRecordedData();
    if (data == nullptr || index < 0)
        return {};
    return data->sample(static_cast<std::size_t>(index));
}

int SerialPortReaderPort::recordedSamplesDue(std::uint32_t replayMs, int replayed) const
{
    const std::int64_t due = CollectedDataSet::samplesIn(replayMs) - replayed;
    return due > 0 ? static_cast<int>(due) : 0;
}

int SerialPortReaderPort::open(int port)
{
    return port_.open(port);
}

int SerialPortReaderPort::openWireless(int port)
{
    return port_.openWireless(port);
}

LinkSteps SerialPortReaderPort::identifySteps()
{
    return port_.identifySteps();
}

bool SerialPortReaderPort::isConnected() const
{
    return port_.isConnected();
}

bool SerialPortReaderPort::isAlive()
{
    return port_.isAlive();
}

int SerialPortReaderPort::linkType() const
{
    return port_.getLinkType();
}

void SerialPortReaderPort::setLinkType(int type)
{
    port_.setLinkType(type);
}

bool SerialPortReaderPort::kindIs3() const
{
    return port_.getKindIs3();
}

bool SerialPortReaderPort::kindIs3or4() const
{
    return port_.getKindIs3or4();
}

int SerialPortReaderPort::readPending()
{
    return port_.readPending();
}

int SerialPortReaderPort::flushInput()
{
    return port_.flushInput();
}

std::deque<std::uint8_t>& SerialPortReaderPort::readData()
{
    return port_.readData;
}

bool SerialPortReaderPort::requestDataStreams()
{
    return port_.requestDataStreams();
}

LinkSteps SerialPortReaderPort::requestDataStreamsSteps()
{
    return port_.requestDataStreamsSteps();
}

void SerialPortReaderPort::setBatteryLevel(int level)
{
    port_.setBatteryLevel(level);
}

int SerialPortReaderPort::compressionOffset() const
{
    return port_.getCompressionOffset();
}

int SerialPortReaderPort::ventilationOffset() const
{
    return port_.getVentilationOffset();
}

void SerialPortReaderPort::setCalibrationOffsets(int compression, int ventilation)
{
    port_.setCalibrationOffsets(compression, ventilation);
}
