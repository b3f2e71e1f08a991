#pragma once
// Reads one manikin: opens its link, waits for valid data, and on every session
// tick drains the link into a queue of raw samples. It measures the real sample
// rate, notices a silent link, calibrates the rest offsets of older manikins and
// converts raw samples into millimetres and litres.

#include "comm/reader/FrameParser.h"
#include "Filters/ManikinSample.h"
#include "comm/link/LinkSteps.h"
#include "comm/reader/Stopwatch.h"

#include <memory>
#include <optional>

class ReaderPort;
class SerialPort;
struct Measurement;

class ManikinReader {
public:
    // Open results the reader adds to those of the link.
    static constexpr int OPEN_SUCCESS = 10;
    static constexpr int OPEN_NO_DATA = 6;

    // Calibration statuses.
    static constexpr int CALIBRATION_NOT_CONNECTED = 0;
    static constexpr int CALIBRATION_VENTILATION_MOVED = 2;
    static constexpr int CALIBRATION_COMPRESSION_MOVED = 3;
    static constexpr int CALIBRATION_TOO_LITTLE_DATA = 4;
    static constexpr int CALIBRATION_MEASURING = 5;
    static constexpr int CALIBRATION_DONE = 6;

    // Milliseconds of silence after which a link counts as lost.
    static constexpr std::uint32_t IDLE_LIMIT_MS = 10000;
    // The calibration measures for 1.1 times its 2000 ms window.
    static constexpr std::uint32_t CALIBRATION_MS = 2200;

    // Reads the given link, which the caller keeps and closes.
    explicit ManikinReader(SerialPort& port);
    explicit ManikinReader(std::unique_ptr<ReaderPort> port);
    ~ManikinReader();
    ManikinReader(const ManikinReader&) = delete;
    ManikinReader& operator=(const ManikinReader&) = delete;

    // Opens the link (-1 = its stored port number) and waits for the data
    // stream. A reader opened again starts afresh: no value heard before the
    // link was opened counts, the streams are asked for again, and the idle
    // time and the rate are measured anew.
    int open(int port);
    // Collects from now on; the link counts as silent only ten seconds on.
    void start();
    void stop();
    // One tick: drains the link into the sample queue, or takes the next step
    // of identifying a silent manikin again. False when the link was found
    // lost, or silent and not identified again.
    bool update();
    // A silent manikin is being identified again, a step a tick.
    bool isIdentifyingAgain() const { return identifyingAgain_.has_value(); }
    // Counts the measured rate from now on; called when a session starts.
    void restartTimers();

    // The oldest queued sample; four zeros when none is queued.
    ManikinSample popSample();
    bool hasSample() const { return queuedSamples() > 0; }
    std::size_t queuedSamples() const;
    ManikinSample applyOffsets(const ManikinSample& sample) const;
    Measurement convert(const ManikinSample& sample) const;
    double currentRate() const { return currentRate_; }

    void startCalibration();
    int getCalibrationStatus();

    int linkType() const;
    bool isRunning() const { return running_; }
    int compressionOffset() const { return compressionOffset_; }
    int ventilationOffset() const { return ventilationOffset_; }
    const ManikinSample& currentSample() const { return parser_.currentSample(); }

private:
    bool isFrameLink() const;
    bool waitForStream();
    bool waitForFrames();
    bool waitForRecords();
    bool readFrames();
    void replayRecordedData();
    // Identifies a silent manikin again and asks a framed one for its streams.
    LinkSteps identifyAgain();
    bool stepIdentifyingAgain();
    // What a newly identified link starts from: no value, the idle time and
    // the rate counted from now.
    void restartStream();
    bool parseFrames(bool final);
    bool parseRecord();
    void forwardBatteryLevel();
    double nominalRate() const;

    std::unique_ptr<ReaderPort> port_;
    FrameParser parser_;
    int compressionOffset_ = 0;
    int ventilationOffset_ = 0;
    Stopwatch calibrationWatch_;
    Stopwatch receiveWatch_;
    Stopwatch idleFrameWatch_;
    // The identification of a silent manikin under way, and the time since its last step.
    std::optional<LinkSteps> identifyingAgain_;
    Stopwatch stepWatch_;
    bool running_ = false;
    double currentRate_ = 20.0;
};
