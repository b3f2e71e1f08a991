#pragma once
// Finds the ventilations in a session's measurements, groups them, counts a
// stomach inflation once per episode and keeps the count and average volume.

#include "comm/reader/Measurement.h"
#include "comm/session/VentilationGroup.h"

#include <cstdint>
#include <vector>

class CommSession;

class VentilationAnalyser {
public:
    explicit VentilationAnalyser(CommSession& session) : session_(session) {}
    virtual ~VentilationAnalyser() = default;
    VentilationAnalyser(const VentilationAnalyser&) = delete;
    VentilationAnalyser& operator=(const VentilationAnalyser&) = delete;

    // Called for every record in order, with the manData index it gets.
    void process(const Measurement& m, std::int32_t index);
    void reset();

    // Litres per minute over the whole session; 0 without ventilations.
    double getMinuteVolume() const;
    double getVolumeAverage() const { return averageVolume_; }
    std::int32_t count() const { return count_; }
    const std::vector<VentilationGroup>& groups() const { return groups_; }

private:
    void startVentilation(const Measurement& m, std::int32_t index);
    void addVentilation(const VentilationRecord& record);

    CommSession& session_;
    std::vector<VentilationGroup> groups_;
    std::int32_t count_ = 0;
    double averageVolume_ = 0.0;
    double volumeSum_ = 0.0;
    double state_ = 0.0; // 0 idle, positive inflating, -1 deflating
    std::int32_t startIndex_ = 0;
    std::int32_t peakIndex_ = 0;
    double peakVolume_ = 0.0;
    double troughVolume_ = 0.0;
    std::uint8_t stomachFlag_ = 0;
    std::uint8_t stomachArmed_ = 1;
};
