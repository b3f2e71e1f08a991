#pragma once
// Binds a ManikinReader to the station's manikin link, a SerialPort.

#include "comm/reader/ReaderPort.h"

class SerialPort;

class SerialPortReaderPort final : public ReaderPort {
public:
    explicit SerialPortReaderPort(SerialPort& port);

    int portNumber() const override;
    bool isRecordedDataPort() const override;
    ManikinSample recordedSample(int index) const override;
    int recordedSamplesDue(std::uint32_t replayMs, int replayed) const override;
    int open(int port) override;
    int openWireless(int port) override;
    LinkSteps identifySteps() override;
    bool isConnected() const override;
    bool isAlive() override;
    int linkType() const override;
    void setLinkType(int type) override;
    bool kindIs3() const override;
    bool kindIs3or4() const override;
    int readPending() override;
    int flushInput() override;
    std::deque<std::uint8_t>& readData() override;
    bool requestDataStreams() override;
    LinkSteps requestDataStreamsSteps() override;
    void setBatteryLevel(int level) override;
    int compressionOffset() const override;
    int ventilationOffset() const override;
    void setCalibrationOffsets(int compression, int ventilation) override;

private:
    SerialPort& port_;
};
