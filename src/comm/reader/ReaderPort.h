#pragma once
// What a ManikinReader needs of its manikin link: the received bytes, the link's
// identity and state, and the few commands the reader sends. SerialPortReaderPort
// binds it to a SerialPort; tests hand the reader a scripted port instead.

#include "Filters/ManikinSample.h"
#include "comm/link/LinkSteps.h"

#include <cstdint>
#include <deque>

class ReaderPort {
public:
    virtual ~ReaderPort() = default;

    virtual int portNumber() const = 0;
    // A demonstration port that replays recorded data instead of reading a device.
    virtual bool isRecordedDataPort() const = 0;
    // Sample i of the recorded data set (each channel wraps on its own).
    virtual ManikinSample recordedSample(int index) const = 0;
    // How many more recorded samples are due once the replay has run
    // `replayMs` milliseconds and given `replayed` samples.
    virtual int recordedSamplesDue(std::uint32_t replayMs, int replayed) const = 0;

    virtual int open(int port) = 0;
    virtual int openWireless(int port) = 0;
    // Identifies the device once more on an open link, step by step: the
    // wireless handshake for wireless slots, else the ASCII handshake and then
    // the framed one.
    virtual LinkSteps identifySteps() = 0;
    virtual bool isConnected() const = 0;
    virtual bool isAlive() = 0;

    virtual int linkType() const = 0;
    virtual void setLinkType(int type) = 0;
    virtual bool kindIs3() const = 0;
    virtual bool kindIs3or4() const = 0;

    // Moves what the link has received into readData; -1 after a failed read.
    virtual int readPending() = 0;
    // As readPending, then empties readData.
    virtual int flushInput() = 0;
    virtual std::deque<std::uint8_t>& readData() = 0;

    virtual bool requestDataStreams() = 0;
    // The same, step by step.
    virtual LinkSteps requestDataStreamsSteps() = 0;
    virtual void setBatteryLevel(int level) = 0;

    virtual int compressionOffset() const = 0;
    virtual int ventilationOffset() const = 0;
    virtual void setCalibrationOffsets(int compression, int ventilation) = 0;
};
