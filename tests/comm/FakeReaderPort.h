#pragma once
// A scripted manikin link under a real ManikinReader, for the reader and
// measurement-store tests and the benchmark: bytes "arrive" when the reader
// reads pending input, recorded samples replay one a tick whatever the clock
// says, identifying and asking for the streams take the steps the test gives
// them, and every call the reader makes is counted.

#include "comm/reader/ReaderPort.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

class FakeReaderPort final : public ReaderPort {
public:
    struct State {
        int portNumber = 5;
        bool recorded = false;
        std::vector<ManikinSample> recording;
        int openResult = 10;
        int identifyResult = 10;
        // The waits between the steps of an identification (none: one step).
        std::vector<std::uint32_t> identifyWaits;
        int linkTypeAfterOpen = 3;
        bool connected = true;
        bool alive = true;
        int linkType = 3;
        bool kindIs3 = false;
        bool kindIs3or4 = false;
        std::deque<std::uint8_t> incoming; // bytes on the wire, not yet read
        std::deque<std::uint8_t> readData;
        // Bytes the manikin answers to a data-stream request.
        std::vector<std::uint8_t> streamAnswer;
        int batteryLevel = 255;
        int compressionOffset = 0;
        int ventilationOffset = 0;
        int opens = 0, wirelessOpens = 0, identifies = 0, identifySteps = 0, streamRequests = 0, flushes = 0;
    };

    explicit FakeReaderPort(State& state) : s_(state) {}

    void arrive(const std::vector<std::uint8_t>& bytes) { s_.incoming.insert(s_.incoming.end(), bytes.begin(), bytes.end()); }

    int portNumber() const override { return s_.portNumber; }
    bool isRecordedDataPort() const override { return s_.recorded; }
    ManikinSample recordedSample(int index) const override
    {
        return s_.recording.empty() ? ManikinSample{} : s_.recording[index % s_.recording.size()];
    }
    int recordedSamplesDue(std::uint32_t, int) const override { return 1; }
    int open(int port) override
    {
        ++s_.opens;
        if (port != -1)
            s_.portNumber = port;
        return openDone();
    }
    int openWireless(int port) override
    {
        ++s_.wirelessOpens;
        if (port != -1)
            s_.portNumber = port;
        return openDone();
    }
    LinkSteps identifySteps() override
    {
        ++s_.identifies;
        return identification(s_);
    }
    bool isConnected() const override { return s_.connected; }
    bool isAlive() override { return s_.connected && s_.alive && s_.linkType != 5; }
    int linkType() const override { return s_.linkType; }
    void setLinkType(int type) override { s_.linkType = type; }
    bool kindIs3() const override { return s_.kindIs3; }
    bool kindIs3or4() const override { return s_.kindIs3or4; }
    int readPending() override
    {
        if (!s_.connected)
            return 0;
        const int count = static_cast<int>(s_.incoming.size());
        s_.readData.insert(s_.readData.end(), s_.incoming.begin(), s_.incoming.end());
        s_.incoming.clear();
        return count;
    }
    int flushInput() override
    {
        ++s_.flushes;
        const int count = readPending();
        s_.readData.clear();
        return count;
    }
    std::deque<std::uint8_t>& readData() override { return s_.readData; }
    bool requestDataStreams() override
    {
        ++s_.streamRequests;
        arrive(s_.streamAnswer);
        return true;
    }
    LinkSteps requestDataStreamsSteps() override { return streamRequest(*this); }
    void setBatteryLevel(int level) override { s_.batteryLevel = level; }
    int compressionOffset() const override { return s_.compressionOffset; }
    int ventilationOffset() const override { return s_.ventilationOffset; }
    void setCalibrationOffsets(int compression, int ventilation) override
    {
        s_.compressionOffset = compression;
        s_.ventilationOffset = ventilation;
    }

private:
    static LinkSteps identification(State& s)
    {
        for (const std::uint32_t wait : s.identifyWaits) {
            ++s.identifySteps;
            co_await LinkSteps::wait(wait);
        }
        ++s.identifySteps;
        co_return s.identifyResult;
    }
    // The two requests, the second after the first's 50 ms.
    static LinkSteps streamRequest(FakeReaderPort& port)
    {
        port.requestDataStreams();
        co_await LinkSteps::wait(100);
        co_return 1;
    }
    int openDone()
    {
        if (s_.openResult == 10) {
            s_.connected = true;
            s_.linkType = s_.linkTypeAfterOpen;
        }
        return s_.openResult;
    }

    State& s_;
};
