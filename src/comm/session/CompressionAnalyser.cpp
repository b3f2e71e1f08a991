#include "comm/session/CompressionAnalyser.h"

#include "comm/session/CommSession.h"

namespace {
// Hysteresis both ways: a release must fall this far below the peak, and a
// new compression without full release must rise this far above the trough.
constexpr double HYSTERESIS_MM = 5.0;
// Deeper than this the chest was not released (leaning).
constexpr double RELEASED_MM = 5.0;
// A compression starting less than this many samples after a series' last
// compression ended belongs to that series.
constexpr std::int32_t SERIES_GAP = 25;
// The live rate expires when the newest peak is older than this.
constexpr std::int32_t RATE_TIMEOUT = 50;
constexpr std::size_t RATE_WINDOW = 4;
} // namespace

void CompressionAnalyser::reset()
{
    series_.clear();
    session_.clearSeriesSummaries();
    liveRate_ = -1.0;
    state_ = 0.0;
    startIndex_ = peakIndex_ = indexPeakEnd_ = 0;
    peakDepth_ = troughDepth_ = 0.0;
    peakWrongHand_ = 0;
    rateWindow_.clear();
}

void CompressionAnalyser::process(const Measurement& m, std::int32_t index)
{
    const double d = m.depth;
    if (state_ == 0.0) {
        if (troughDepth_ == d)
            startIndex_ = index;
        troughDepth_ = peakDepth_ = d;
        if (d != 0)
            state_ = 1.0;
        peakWrongHand_ = m.wrongHandPosition;
        indexPeakEnd_ = peakIndex_ = index;
    } else if (state_ > 0) {
        if (d <= peakDepth_ - HYSTERESIS_MM) {
            state_ = -1.0;
            troughDepth_ = d;
        } else {
            if (d > peakDepth_) {
                peakDepth_ = d;
                peakWrongHand_ = m.wrongHandPosition;
                peakIndex_ = index;
                troughDepth_ = d;
            }
            if (d < troughDepth_)
                troughDepth_ = d;
            indexPeakEnd_ = index;
        }
    } else if (troughDepth_ + HYSTERESIS_MM <= d || d == 0) {
        complete(m, index);
    } else if (d < troughDepth_) {
        troughDepth_ = d;
    }

    if (rateWindow_.size() < 2 || index > rateWindow_.back() + RATE_TIMEOUT)
        liveRate_ = -1.0;
}

void CompressionAnalyser::complete(const Measurement& m, std::int32_t index)
{
    const double d = m.depth;
    const auto& data = session_.manData;
    const bool previousDeep = index > 0 && static_cast<std::size_t>(index - 1) < data.size()
                              && data[static_cast<std::size_t>(index - 1)].depth > RELEASED_MM;
    CompressionRecord record;
    record.indexStart = startIndex_;
    record.indexEnd = index - 1;
    record.indexPeak = peakIndex_;
    record.peakDepth = peakDepth_;
    record.wrongHandPosition = peakWrongHand_;
    record.incompleteRelease = (d > 0 && previousDeep) ? 1 : 0;
    record.indexPeakEnd = indexPeakEnd_;
    addCompression(record);

    if (d == 0) {
        state_ = 0.0;
        startIndex_ = peakIndex_ = indexPeakEnd_ = index;
        peakDepth_ = troughDepth_ = 0.0;
    } else {
        startCompression(m, index);
    }
}

// A rise out of an incomplete release starts the next compression at once.
void CompressionAnalyser::startCompression(const Measurement& m, std::int32_t index)
{
    state_ = 1.0;
    peakDepth_ = troughDepth_ = m.depth;
    peakWrongHand_ = m.wrongHandPosition;
    peakIndex_ = indexPeakEnd_ = index;
    startIndex_ = index - 1;
}

void CompressionAnalyser::addCompression(const CompressionRecord& record)
{
    CompressionSeries* joined = nullptr;
    for (CompressionSeries& s : series_) {
        if (s.lastEnd + SERIES_GAP > record.indexStart) {
            joined = &s;
            break;
        }
    }
    if (record.wrongHandPosition)
        session_.markCompression(record.indexPeak);
    if (joined)
        joinSeries(*joined, record);
    else
        startSeries(record);
}

void CompressionAnalyser::joinSeries(CompressionSeries& s, const CompressionRecord& record)
{
    s.add(record);
    rateWindow_.push_back(record.indexPeak);
    if (rateWindow_.size() > RATE_WINDOW)
        rateWindow_.pop_front();
    const std::int32_t span = rateWindow_.back() - rateWindow_.front();
    if (rateWindow_.size() >= 2 && span > 0)
        liveRate_ = (rateWindow_.size() - 1) * sampleRate_ * 60 / span;
}

void CompressionAnalyser::startSeries(const CompressionRecord& record)
{
    if (!series_.empty()) {
        CompressionSeries& last = series_.back();
        last.computeDurations();
        last.computeCardiacOutput(record.indexStart, session_.analysisSettings());
        SeriesSummary summary;
        summary.firstStart = last.firstStart;
        summary.lastEnd = last.lastEnd;
        summary.nextStart = record.indexStart;
        summary.compressionPercent = last.compressionPercent();
        summary.cardiacOutput = last.getCardiacOutput(session_.sampleRate);
        session_.addSeriesSummary(summary);
    }
    CompressionSeries fresh(session_.algor);
    fresh.add(record);
    series_.push_back(std::move(fresh));
    liveRate_ = -1.0;
    rateWindow_.clear();
    rateWindow_.push_back(record.indexPeak);
}
