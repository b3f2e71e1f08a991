#pragma once
// Compressions that follow each other closely, with the statistics the
// evaluation and the series summary are made of.

#include "comm/session/AnalysisSettings.h"
#include "comm/session/CompressionRecord.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct AlgorithmRecord;

class CompressionSeries {
public:
    explicit CompressionSeries(const AlgorithmRecord* algor = nullptr) : algor(algor) {}
    virtual ~CompressionSeries() = default;
    CompressionSeries(const CompressionSeries&) = default;
    CompressionSeries& operator=(const CompressionSeries&) = default;

    void add(const CompressionRecord& record);
    // Fills the compression and relaxation times of every record but the last.
    void computeDurations();
    // Closes the series at the start of the next one.
    void computeCardiacOutput(std::int32_t nextStart, const AnalysisSettings& settings);
    // The series a session ends in is never closed. This gives it what its
    // complete cycles measure, each compression that a later one follows:
    // their times, and their output over the time up to the start of the
    // last compression, whose relaxation the session never saw. A series of
    // one compression has no complete cycle and so no duration.
    void closeCompleteCycles(const AnalysisSettings& settings);
    // L/min at the given sample rate; 0 for a series that was never closed.
    double getCardiacOutput(double rate) const;
    // Compression time share of the cycle time in whole percent; 0 without cycles.
    std::int32_t compressionPercent() const;

    const AlgorithmRecord* algor = nullptr;
    std::vector<CompressionRecord> records;
    std::int32_t firstStart = -1;
    std::int32_t firstPeak = -1;
    std::int32_t lastEnd = -1;
    std::int32_t lastPeak = -1;
    double peakFrequency = 0.0;          // compressions per sample
    std::int32_t wrongHandCount = 0;
    std::int32_t incompleteReleaseCount = 0;
    double compressionTimeSum = 0.0;
    double cycleTimeSum = 0.0;
    double cardiacOutputVolume = 0.0;    // litres
    std::int32_t duration = 0;           // samples from the first start to the next series' start

private:
    // Litres the first `count` compressions gave; 0 without an algorithm.
    double outputVolume(std::size_t count, const AnalysisSettings& settings) const;
};
