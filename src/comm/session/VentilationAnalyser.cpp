#include "comm/session/VentilationAnalyser.h"

#include "comm/session/CommSession.h"

namespace {
// Hysteresis both ways, as for compressions.
constexpr double HYSTERESIS_L = 0.07;
// A ventilation starting less than this many samples after a group's last
// ventilation ended belongs to that group.
constexpr std::int32_t GROUP_GAP = 20;
} // namespace

void VentilationAnalyser::reset()
{
    groups_.clear();
    count_ = 0;
    averageVolume_ = volumeSum_ = 0.0;
    state_ = 0.0;
    startIndex_ = peakIndex_ = 0;
    peakVolume_ = troughVolume_ = 0.0;
    stomachFlag_ = 0;
    stomachArmed_ = 1;
}

void VentilationAnalyser::process(const Measurement& m, std::int32_t index)
{
    const double v = m.volume;
    // A stomach inflation counts once per episode: the next one only after a
    // sample without the flag.
    if (m.stomachInflation == 0)
        stomachArmed_ = 1;

    if (state_ == 0.0) {
        troughVolume_ = peakVolume_ = v;
        state_ = v;
        stomachFlag_ = m.stomachInflation;
        startIndex_ = peakIndex_ = index;
    } else if (state_ > 0) {
        if (v <= peakVolume_ - HYSTERESIS_L) {
            state_ = -1.0;
            troughVolume_ = v;
        } else {
            if (v > peakVolume_) {
                peakVolume_ = v;
                stomachFlag_ = m.stomachInflation;
                peakIndex_ = index;
                troughVolume_ = v;
            }
            if (v < troughVolume_)
                troughVolume_ = v;
        }
    } else if (troughVolume_ + HYSTERESIS_L <= v || v == 0) {
        VentilationRecord record;
        record.indexStart = startIndex_;
        record.indexEnd = index;
        record.indexPeak = peakIndex_;
        record.peakVolume = peakVolume_;
        record.stomachInflation = stomachArmed_ ? stomachFlag_ : 0;
        if (v == 0) {
            if (stomachFlag_)
                stomachArmed_ = 0;
            addVentilation(record);
            state_ = 0.0;
        } else {
            addVentilation(record);
            startVentilation(m, index);
        }
    } else if (v < troughVolume_) {
        troughVolume_ = v;
    }
}

void VentilationAnalyser::startVentilation(const Measurement& m, std::int32_t index)
{
    peakVolume_ = troughVolume_ = m.volume;
    stomachFlag_ = m.stomachInflation;
    if (stomachFlag_)
        stomachArmed_ = 0;
    state_ = 1.0;
    startIndex_ = peakIndex_ = index;
}

void VentilationAnalyser::addVentilation(const VentilationRecord& record)
{
    if (record.stomachInflation)
        session_.markVentilation(record.indexPeak);
    VentilationGroup* joined = nullptr;
    for (VentilationGroup& group : groups_) {
        if (group.lastEnd + GROUP_GAP > record.indexStart) {
            joined = &group;
            break;
        }
    }
    if (joined) {
        joined->add(record);
    } else {
        VentilationGroup fresh;
        fresh.add(record);
        groups_.push_back(std::move(fresh));
    }
    ++count_;
    volumeSum_ += record.peakVolume;
    averageVolume_ = volumeSum_ / count_;
}

double VentilationAnalyser::getMinuteVolume() const
{
    if (groups_.empty())
        return 0.0;
    const std::size_t samples = session_.manData.size();
    if (samples < 2)
        return 0.0;
    double sum = 0.0;
    for (const VentilationGroup& group : groups_)
        for (const VentilationRecord& record : group.records)
            sum += record.peakVolume;
    return sum * session_.sampleRate * 60 / static_cast<double>(samples - 1);
}
