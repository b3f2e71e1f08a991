#include "comm/session/SessionStatistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

enum class Judgement { Low, OK, High };

Judgement judge(double value, double low, double high)
{
    if (value < low)
        return Judgement::Low;
    if (value > high)
        return Judgement::High;
    return Judgement::OK;
}

// Volumes are judged the other way round: within the window first, then
// above it. The two orders differ only for a window whose low limit lies
// above its high one, which the algorithm editor lets a user store.
Judgement judgeVolume(double value, double low, double high)
{
    if (low <= value && value <= high)
        return Judgement::OK;
    if (value > high)
        return Judgement::High;
    return Judgement::Low;
}

void count(Judgement judgement, std::int32_t& low, std::int32_t& ok, std::int32_t& high)
{
    switch (judgement) {
    case Judgement::Low: ++low; break;
    case Judgement::OK: ++ok; break;
    case Judgement::High: ++high; break;
    }
}

// Ventilations of every group that starts strictly after `after` and before `before`.
std::int32_t ventilationsBetween(const std::vector<VentilationGroup>& groups, std::int32_t after, std::int64_t before)
{
    std::int32_t total = 0;
    for (const VentilationGroup& group : groups)
        if (group.firstStart > after && group.firstStart < before)
            total += static_cast<std::int32_t>(group.records.size());
    return total;
}

} // namespace

VentilationResults SessionStatistics::evaluateVentilations(const std::vector<VentilationGroup>& groups, std::int32_t last,
                                                           double low, double high, double sampleRate)
{
    VentilationResults r;
    double volumeSum = 0.0;
    for (const VentilationGroup& group : groups) {
        for (const VentilationRecord& record : group.records) {
            ++r.count;
            count(judgeVolume(record.peakVolume, low, high), r.volumeLow, r.volumeOK, r.volumeHigh);
            volumeSum += record.peakVolume;
        }
        r.stomachInflations += group.stomachInflationCount;
    }
    if (r.count == 0)
        return r;
    r.averageVolume = volumeSum / r.count;
    if (last > 0)
        r.rate = r.count * sampleRate * 60 / last;
    return r;
}

std::int32_t SessionStatistics::evaluateInitialVentilations(const std::vector<CompressionSeries>& series,
                                                            const std::vector<VentilationGroup>& groups)
{
    const std::int32_t f = series.empty() ? -1 : series.front().firstStart;
    if (groups.empty() || groups.front().firstStart == -1)
        return 0;
    if (f >= 0 && f < groups.front().firstStart)
        return 0;
    std::int32_t total = static_cast<std::int32_t>(groups.front().records.size());
    for (std::size_t i = 1; i < groups.size(); ++i) {
        if (f >= 0 && groups[i].firstStart >= f)
            break;
        total += static_cast<std::int32_t>(groups[i].records.size());
    }
    return total;
}

CompressionResults SessionStatistics::evaluateCompressions(const std::vector<CompressionSeries>& series,
                                                           const CompressionLimits& limits, double sampleRate)
{
    CompressionResults r;
    r.seriesCount = static_cast<std::int32_t>(series.size());
    double compressionTimeSum = 0.0;
    double cycleTimeSum = 0.0;
    double cardiacVolumeSum = 0.0;
    double durationSum = 0.0;
    double peakSpanSum = 0.0;
    double depthSum = 0.0;
    double pauseSum = 0.0;
    for (std::size_t i = 0; i < series.size(); ++i) {
        const CompressionSeries& s = series[i];
        r.count += static_cast<std::int32_t>(s.records.size());
        r.leanings += s.incompleteReleaseCount;
        r.wrongHandPositions += s.wrongHandCount;
        compressionTimeSum += s.compressionTimeSum;
        cycleTimeSum += s.cycleTimeSum;
        cardiacVolumeSum += s.cardiacOutputVolume;
        durationSum += s.duration;
        peakSpanSum += s.lastPeak - s.firstPeak;

        count(judge(s.peakFrequency * sampleRate * 60, limits.rateLow, limits.rateHigh), r.rateLow, r.rateOK, r.rateHigh);

        // A series without a duration (the one the session ended in, before
        // it had a complete cycle) measured no output: nothing to judge.
        if (s.duration > 0)
            count(judge(s.getCardiacOutput(sampleRate), limits.cardiacOutputLow, limits.cardiacOutputHigh),
                  r.cardiacOutputLow, r.cardiacOutputOK, r.cardiacOutputHigh);

        for (const CompressionRecord& record : s.records) {
            count(judge(record.peakDepth, limits.depthLow, limits.depthHigh), r.depthLow, r.depthOK, r.depthHigh);
            depthSum += record.peakDepth;
            if (record.compressionTime + record.relaxationTime > 0)
                ++r.completeCycles;
        }

        if (i > 0) {
            const std::int32_t pauseSamples = s.firstPeak - series[i - 1].lastPeak;
            pauseSum += pauseSamples;
            if (pauseSamples / sampleRate > limits.maxPause)
                ++r.pauseLong;
            else
                ++r.pauseOK;
        }
    }
    if (r.count == 0)
        return r;
    if (peakSpanSum != 0)
        r.averageRate = (r.count - r.seriesCount) * sampleRate * 60 / peakSpanSum;
    r.averageDepth = depthSum / r.count;
    if (r.seriesCount >= 2)
        r.averagePause = truncate(pauseSum / ((r.seriesCount - 1) * sampleRate));
    if (durationSum >= 1)
        r.averageCardiacOutput = cardiacVolumeSum * sampleRate * 60 / durationSum;
    if (cycleTimeSum > 0)
        r.compRelaxRatio = compressionTimeSum / cycleTimeSum;
    return r;
}

CycleResults SessionStatistics::evaluateCycles(const std::vector<CompressionSeries>& series,
                                               const std::vector<VentilationGroup>& groups, std::int32_t c, std::int32_t v)
{
    CycleResults r;
    std::int64_t compressionSum = 0;
    std::int64_t ventilationSum = 0;
    for (std::size_t i = 0; i < series.size(); ++i) {
        const bool lastSeries = i + 1 == series.size();
        const std::int64_t before = lastSeries ? std::numeric_limits<std::int64_t>::max() : series[i + 1].firstStart;
        const std::int32_t n = static_cast<std::int32_t>(series[i].records.size());
        const std::int32_t w = ventilationsBetween(groups, series[i].lastEnd, before);
        // The last series is a cycle only once its ventilations are complete.
        if (lastSeries && w != v)
            continue;
        ++r.count;
        if (n == c && w == v)
            ++r.correct;
        compressionSum += n;
        ventilationSum += w;
    }
    if (r.count == 0)
        return r;
    r.averageCompressions = static_cast<double>(compressionSum) / r.count;
    r.averageVentilations = static_cast<double>(ventilationSum) / r.count;
    return r;
}

std::int32_t SessionStatistics::firstActionTime(const std::vector<CompressionSeries>& series,
                                                const std::vector<VentilationGroup>& groups, double sampleRate)
{
    const std::int32_t p = series.empty() ? -1 : series.front().firstPeak;
    const std::int32_t q = groups.empty() ? -1 : groups.front().firstPeak;
    if (p < 0 && q < 0)
        return -1;
    const std::int32_t first = p < 0 ? q : (q < 0 ? p : std::min(p, q));
    return truncate(first / sampleRate);
}

std::int32_t SessionStatistics::truncate(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), low, high));
}
