#pragma once
// Helpers of the measurement-store tests: a sample source the test fills, a
// listener that records signal emissions, and measurement sequences.

#include "Rodezir/Signal.h"
#include "Rodezir/SlotHolder.h"
#include "comm/CommSession.h"
#include "comm/SampleSource.h"

#include <deque>
#include <vector>

namespace sessiontest {

// Samples pushed by the test. Conversion: depth = compression count in mm,
// volume = ventilation count / 100 in litres, flags by status as the reader sets them.
class PushSource final : public SampleSource {
public:
    explicit PushSource(int linkType = 3, double rate = 50.0) : link(linkType), rate(rate) {}

    void push(const ManikinSample& sample) { queue.push_back(sample); }
    bool hasSample() const override { return !queue.empty(); }
    ManikinSample popSample() override
    {
        const ManikinSample s = queue.front();
        queue.pop_front();
        return s;
    }
    ManikinSample applyOffsets(const ManikinSample& s) const override
    {
        ManikinSample corrected = s;
        corrected.compression = s.compression - compressionOffset < 8 ? 0 : s.compression - compressionOffset;
        corrected.ventilation = s.ventilation - ventilationOffset < 8 ? 0 : s.ventilation - ventilationOffset;
        return corrected;
    }
    Measurement convert(const ManikinSample& s) const override
    {
        Measurement m;
        m.depth = s.compression;
        m.volume = s.ventilation / 100.0;
        m.ecg = s.ecg;
        m.stomachInflation = (s.error == 12 || s.error == 28 || s.error == 140 || s.error == 156) ? 1 : 0;
        m.wrongHandPosition = (s.error == 140 || s.error == 156 || s.error == 204 || s.error == 220) ? 1 : 0;
        m.error66 = s.error == 66 ? 1 : 0;
        return m;
    }
    double currentRate() const override { return rate; }
    int linkType() const override { return link; }

    std::deque<ManikinSample> queue;
    int link;
    double rate;
    int compressionOffset = 0;
    int ventilationOffset = 0;
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
