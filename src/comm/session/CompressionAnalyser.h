#pragma once
// Finds the chest compressions in a session's measurements, groups them into
// series, keeps the live compression rate and publishes a summary for every
// series it closes.

#include "comm/session/CompressionSeries.h"
#include "comm/reader/Measurement.h"

#include <cstdint>
#include <deque>
#include <vector>

class CommSession;

class CompressionAnalyser {
public:
    explicit CompressionAnalyser(CommSession& session) : session_(session) {}
    virtual ~CompressionAnalyser() = default;
    CompressionAnalyser(const CompressionAnalyser&) = delete;
    CompressionAnalyser& operator=(const CompressionAnalyser&) = delete;

    // Called for every record in order, with the manData index it gets.
    void process(const Measurement& m, std::int32_t index);
    void reset();

    const std::vector<CompressionSeries>& series() const { return series_; }
    // Compressions per minute; -1 while no rate is available.
    double liveRate() const { return liveRate_; }
    void setSampleRate(double rate) { sampleRate_ = rate; }
    double sampleRate() const { return sampleRate_; }

private:
    void startCompression(const Measurement& m, std::int32_t index);
    void complete(const Measurement& m, std::int32_t index);
    void addCompression(const CompressionRecord& record);
    void joinSeries(CompressionSeries& series, const CompressionRecord& record);
    void startSeries(const CompressionRecord& record);

    CommSession& session_;
    std::vector<CompressionSeries> series_;
    double liveRate_ = -1.0;
    double state_ = 0.0; // 0 idle, +1 pressing, -1 releasing
    std::int32_t startIndex_ = 0;
    std::int32_t peakIndex_ = 0;
    std::int32_t indexPeakEnd_ = 0;
    double peakDepth_ = 0.0;
    double troughDepth_ = 0.0;
    double sampleRate_ = 50.0;
    std::uint8_t peakWrongHand_ = 0;
    std::deque<std::int32_t> rateWindow_;
};
