#pragma once
// Helpers of the measurement-store tests: a sample source the test fills, a
// listener that records signal emissions, and measurement sequences.

#include "FakeReaderPort.h"
#include "Rodezir/SignalConnection.h"
#include "comm/session/CommSession.h"
#include "comm/reader/ManikinReader.h"
#include "comm/session/ReaderSampleSource.h"
#include "comm/session/SampleSource.h"

#include <memory>
#include <optional>
#include <vector>

namespace sessiontest {

// Samples pushed by the test reach the session through a real ManikinReader
// on a scripted port that replays them as recorded data, one a tick: offsets,
// conversion and status flags are the reader's own. The rest offsets are
// taken when the source is first used.
class PushSource final : public SampleSource {
public:
    // rate: the measured rate the reader is to report (it measures none on
    // replayed samples); none keeps the reader's nominal rate.
    explicit PushSource(int linkType = 3, std::optional<double> rate = std::nullopt)
        : rate(rate)
    {
        state.recorded = true;
        state.linkType = linkType;
    }

    void push(const ManikinSample& sample)
    {
        state.recording.push_back(sample);
        reader().update();
    }
    bool hasSample() const override { return source().hasSample(); }
    ManikinSample popSample() override { return source().popSample(); }
    ManikinSample applyOffsets(const ManikinSample& s) const override { return source().applyOffsets(s); }
    Measurement convert(const ManikinSample& s) const override { return source().convert(s); }
    double currentRate() const override { return rate ? *rate : source().currentRate(); }
    int linkType() const override { return source().linkType(); }

    // What the reader makes of a raw compression or ventilation count.
    double millimetres(int count) const { return convert(ManikinSample{count, 0, 0, 0}).depth; }
    double litres(int count) const { return convert(ManikinSample{0, count, 0, 0}).volume; }

    int compressionOffset = 0;
    int ventilationOffset = 0;

private:
    ManikinReader& reader() const
    {
        if (!reader_) {
            state.compressionOffset = compressionOffset;
            state.ventilationOffset = ventilationOffset;
            reader_ = std::make_unique<ManikinReader>(std::make_unique<FakeReaderPort>(state));
            reader_->start();
            source_ = std::make_unique<ReaderSampleSource>(*reader_);
        }
        return *reader_;
    }
    ReaderSampleSource& source() const
    {
        reader();
        return *source_;
    }

    mutable FakeReaderPort::State state;
    mutable std::unique_ptr<ManikinReader> reader_;
    mutable std::unique_ptr<ReaderSampleSource> source_;
    std::optional<double> rate;
};

// Remembers every index a signal carried.
struct IndexListener : SlotHolder {
    void onIndex(int index) { indexes.push_back(index); }
    std::vector<int> indexes;
};

inline Measurement depthOf(double depth, bool wrongHand = false)
{
    Measurement m;
    m.depth = depth;
    m.wrongHandPosition = wrongHand ? 1 : 0;
    return m;
}

inline Measurement volumeOf(double volume, bool stomach = false)
{
    Measurement m;
    m.volume = volume;
    m.stomachInflation = stomach ? 1 : 0;
    return m;
}

inline void appendDepths(CommSession& session, const std::vector<double>& depths)
{
    for (double d : depths)
        session.appendMeasurement(depthOf(d));
}

inline void appendVolumes(CommSession& session, const std::vector<double>& volumes)
{
    for (double v : volumes)
        session.appendMeasurement(volumeOf(v));
}

// Appends rest samples until the session holds `size` records.
inline void restUntil(CommSession& session, std::size_t size)
{
    while (session.manData.size() < size)
        session.appendMeasurement(Measurement{});
}

// One compression whose rise begins at the given index: 20, peak, `hold`
// samples just under the peak, 20 mm, then a release to 0 that completes it.
// Its record: start - 1, peak at start + 1, peak end at start + 1 + hold,
// end at start + 2 + hold.
inline void compressionAt(CommSession& session, std::size_t start, double peak = 45.0, bool wrongHand = false,
                          int hold = 0)
{
    restUntil(session, start);
    session.appendMeasurement(depthOf(20));
    session.appendMeasurement(depthOf(peak, wrongHand));
    for (int i = 0; i < hold; ++i)
        session.appendMeasurement(depthOf(peak - 1));
    session.appendMeasurement(depthOf(20));
    session.appendMeasurement(depthOf(0));
}

// One ventilation whose rise begins at the given index: 0.2, peak, 0.2 l,
// then 0 completes it. Starts at `start`, peak at start + 1, ends at start + 3.
inline void ventilationAt(CommSession& session, std::size_t start, double peak = 0.5, bool stomach = false)
{
    restUntil(session, start);
    session.appendMeasurement(volumeOf(0.2, stomach));
    session.appendMeasurement(volumeOf(peak, stomach));
    session.appendMeasurement(volumeOf(0.2, stomach));
    session.appendMeasurement(volumeOf(0));
}

} // namespace sessiontest
