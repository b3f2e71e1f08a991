#include "comm/session/CompressionSeries.h"

#include "config/AlgorithmRecord.h"
#include "comm/session/SessionStatistics.h"
#include "Rodezir/LogStream.h"

#include <algorithm>
#include <cmath>

void CompressionSeries::add(const CompressionRecord& record)
{
    records.push_back(record);
    if (records.size() == 1) {
        firstStart = record.indexStart;
        firstPeak = record.indexPeak;
        lastEnd = record.indexEnd;
        lastPeak = record.indexPeak;
    } else {
        firstStart = std::min(firstStart, record.indexStart);
        firstPeak = std::min(firstPeak, record.indexPeak);
        lastEnd = std::max(lastEnd, record.indexEnd);
        lastPeak = std::max(lastPeak, record.indexPeak);
        if (lastPeak != firstPeak)
            peakFrequency = static_cast<double>(records.size() - 1) / (lastPeak - firstPeak);
    }
    if (record.wrongHandPosition == 1)
        ++wrongHandCount;
    if (record.incompleteRelease == 1)
        ++incompleteReleaseCount;
}

void CompressionSeries::computeDurations()
{
    compressionTimeSum = 0.0;
    cycleTimeSum = 0.0;
    if (records.size() < 2)
        return;
    for (std::size_t i = 0; i + 1 < records.size(); ++i) {
        CompressionRecord& record = records[i];
        const std::int32_t nextStart = records[i + 1].indexStart;
        KOVA_ASSERT(record.indexPeakEnd == 0 || record.indexPeakEnd > record.indexStart);
        KOVA_ASSERT(nextStart > record.indexPeakEnd);
        record.compressionTime = record.indexPeakEnd - record.indexStart;
        record.relaxationTime = nextStart - record.indexPeakEnd;
        compressionTimeSum = std::trunc(compressionTimeSum + record.compressionTime);
        cycleTimeSum = std::trunc(cycleTimeSum + record.compressionTime + record.relaxationTime);
    }
}

void CompressionSeries::computeCardiacOutput(std::int32_t nextStart, const AnalysisSettings& settings)
{
    duration = nextStart - firstStart;
    KOVA_ASSERT(algor != 0);
    cardiacOutputVolume = outputVolume(records.size(), settings);
}

void CompressionSeries::closeCompleteCycles(const AnalysisSettings& settings)
{
    computeDurations();
    duration = 0;
    cardiacOutputVolume = 0.0;
    if (records.size() < 2)
        return;
    duration = records.back().indexStart - firstStart;
    cardiacOutputVolume = outputVolume(records.size() - 1, settings);
}

double CompressionSeries::outputVolume(std::size_t count, const AnalysisSettings& settings) const
{
    if (!algor)
        return 0.0;
    const double low = settings.overrideCompressionDepth ? settings.compressionDepthLow : algor->compDepthLow;
    const double high = settings.overrideCompressionDepth ? settings.compressionDepthHigh : algor->compDepthHigh;
    int correct = 0;
    int wrongHand = 0;
    for (std::size_t i = 0; i < count && i < records.size(); ++i) {
        const CompressionRecord& record = records[i];
        if (record.peakDepth < low || record.peakDepth > high || record.incompleteRelease != 0)
            continue;
        if (record.wrongHandPosition)
            ++wrongHand;
        else
            ++correct;
    }
    return wrongHand * settings.cardiacOutputPerWrongHand + correct * settings.cardiacOutputPerCompression;
}

double CompressionSeries::getCardiacOutput(double rate) const
{
    // The series still running at the end of a session is never closed and
    // has no duration until its complete cycles are counted: it shows no
    // output rather than 0/0.
    if (duration <= 0)
        return 0.0;
    return rate * cardiacOutputVolume * 60 / duration;
}

std::int32_t CompressionSeries::compressionPercent() const
{
    if (cycleTimeSum == 0)
        return 0;
    return SessionStatistics::truncate(100 * compressionTimeSum / cycleTimeSum);
}
