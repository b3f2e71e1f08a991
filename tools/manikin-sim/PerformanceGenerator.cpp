#include "manikin-sim/PerformanceGenerator.h"

#include <algorithm>
#include <cmath>

namespace manikinsim {

namespace {

constexpr double PI = 3.14159265358979323846;

// Shares of one compression: pressing down, a moment at the bottom, releasing
// up and resting before the next. The rest matters: strokes that never come
// back up merge into one.
constexpr double PRESS_SHARE = 0.35;
constexpr double HOLD_SHARE = 0.1;
constexpr double RELEASE_SHARE = 0.3;
// Hands that lean on the chest keep it this far down between strokes.
constexpr double LEAN_DEPTH_MM = 10.0;

// The station corrects live manikin readings by 1.25 (depth) and 0.6 (volume).
constexpr double LIVE_DEPTH_CORRECTION = 1.25;
constexpr double LIVE_VOLUME_CORRECTION = 0.6;

int clampByte(double value)
{
    return static_cast<int>(std::clamp(std::lround(value), 0L, 255L));
}

// From 0 to 1 and back along half a cosine; t from 0 to 1.
double ease(double t)
{
    return 0.5 * (1.0 - std::cos(PI * std::clamp(t, 0.0, 1.0)));
}

// A bump of unit height centred at zero with the given half-width.
double bump(double t, double halfWidth)
{
    if (std::fabs(t) >= halfWidth)
        return 0.0;
    return 0.5 * (1.0 + std::cos(PI * t / halfWidth));
}

} // namespace

CountScale CountScale::framedKind3or4()
{
    return {3.4 / LIVE_DEPTH_CORRECTION, 1.0 / (0.013 * LIVE_VOLUME_CORRECTION)};
}

CountScale CountScale::framedKind1()
{
    return {3.14 / LIVE_DEPTH_CORRECTION, 82.0 / LIVE_VOLUME_CORRECTION};
}

CountScale CountScale::unframed()
{
    return {4.04 / LIVE_DEPTH_CORRECTION, 112.0 / LIVE_VOLUME_CORRECTION};
}

CountScale CountScale::recorded()
{
    return {4.04, 112.0};
}

PerformanceGenerator::PerformanceGenerator(const PerformancePlan& plan)
    : plan_(plan)
    , state_(plan.seed != 0 ? plan.seed : 1u)
{
    plan_.sampleRate = std::max(1, plan_.sampleRate);
    plan_.compressionRate = std::max(1.0, plan_.compressionRate);
    eventLength_ = std::max(0.0, plan_.leadInSeconds);
    cycleRate_ = plan_.compressionRate;
}

double PerformanceGenerator::random()
{
    // xorshift32: the same numbers on every machine and every run.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 4294967296.0;
}

double PerformanceGenerator::spread()
{
    return 1.0 + plan_.jitter * (2.0 * random() - 1.0);
}

void PerformanceGenerator::beginCompression()
{
    const std::int64_t number = compressionCount_ + 1;
    eventLength_ = 60.0 / (cycleRate_ * spread());
    eventPeak_ = plan_.compressionDepthMm * spread();
    if (plan_.shallowEvery > 0 && number % plan_.shallowEvery == 0)
        eventPeak_ *= 0.6;
    eventFlag_ = plan_.wrongHandPositionEvery > 0 && number % plan_.wrongHandPositionEvery == 0;
    // The chest starts from where the previous stroke left it.
    eventStart_ = eventRelease_;
    // Only a stroke that another one follows can lean: the pause after the
    // last one releases the chest anyway.
    const bool lean = plan_.leanEvery > 0 && number % plan_.leanEvery == 0 && eventsLeft_ > 1;
    eventRelease_ = lean ? std::min(LEAN_DEPTH_MM, 0.5 * eventPeak_) : 0.0;
    phaseTime_ = 0.0;
}

void PerformanceGenerator::beginVentilation()
{
    const std::int64_t number = ventilationCount_ + 1;
    eventLength_ = plan_.inflationSeconds + plan_.exhalationSeconds;
    eventPeak_ = plan_.ventilationVolumeLitres * spread();
    eventFlag_ = plan_.stomachInflationEvery > 0 && number % plan_.stomachInflationEvery == 0;
    if (eventFlag_)
        eventPeak_ *= 1.8;
    phaseTime_ = 0.0;
}

void PerformanceGenerator::nextPhase()
{
    switch (phase_) {
    case Phase::LeadIn:
    case Phase::PauseAfter:
        if (plan_.cycles > 0 && cycle_ >= plan_.cycles) {
            phase_ = Phase::Rest;
            return;
        }
        ++cycle_;
        cycleRate_ = plan_.compressionRate;
        if (plan_.fastEvery > 0 && cycle_ % plan_.fastEvery == 0)
            cycleRate_ *= 1.4;
        if (plan_.compressionsPerCycle > 0) {
            phase_ = Phase::Compressions;
            eventsLeft_ = plan_.compressionsPerCycle;
            beginCompression();
            return;
        }
        [[fallthrough]];
    case Phase::Compressions:
        phase_ = Phase::PauseBefore;
        eventLength_ = plan_.pauseSeconds;
        phaseTime_ = 0.0;
        return;
    case Phase::PauseBefore:
        if (plan_.ventilationsPerCycle > 0) {
            phase_ = Phase::Ventilations;
            eventsLeft_ = plan_.ventilationsPerCycle;
            beginVentilation();
            return;
        }
        [[fallthrough]];
    case Phase::Ventilations:
        phase_ = Phase::PauseAfter;
        eventLength_ = plan_.pauseSeconds;
        phaseTime_ = 0.0;
        return;
    case Phase::Rest:
        return;
    }
}

double PerformanceGenerator::compressionDepthMm() const
{
    const double press = PRESS_SHARE * eventLength_;
    const double bottom = press + HOLD_SHARE * eventLength_;
    const double release = RELEASE_SHARE * eventLength_;
    if (phaseTime_ < press)
        return eventStart_ + (eventPeak_ - eventStart_) * ease(phaseTime_ / press);
    if (phaseTime_ < bottom)
        return eventPeak_;
    if (phaseTime_ < bottom + release)
        return eventPeak_ - (eventPeak_ - eventRelease_) * ease((phaseTime_ - bottom) / release);
    return eventRelease_;
}

double PerformanceGenerator::ventilationVolumeLitres() const
{
    const double rise = plan_.inflationSeconds;
    if (phaseTime_ < rise)
        return eventPeak_ * std::sin(0.5 * PI * phaseTime_ / rise);
    return eventPeak_ * std::cos(0.5 * PI * std::min(1.0, (phaseTime_ - rise) / plan_.exhalationSeconds));
}

int PerformanceGenerator::ecgAt(double seconds) const
{
    // A sinus rhythm: P wave, QRS complex and T wave on a baseline.
    const double beat = 60.0 / std::max(1.0, plan_.heartRate);
    const double t = std::fmod(seconds, beat);
    const double value = plan_.ecgBaseline + 8.0 * bump(t - 0.10, 0.05) + 85.0 * bump(t - 0.22, 0.025)
        - 18.0 * bump(t - 0.26, 0.02) - 8.0 * bump(t - 0.19, 0.015) + 20.0 * bump(t - 0.45, 0.08);
    return clampByte(value);
}

PerformanceSample PerformanceGenerator::next()
{
    const double dt = 1.0 / plan_.sampleRate;
    PerformanceSample sample;
    double depthMm = 0.0;
    double volumeLitres = 0.0;

    if (phase_ == Phase::Compressions) {
        depthMm = compressionDepthMm();
        sample.compressing = true;
        sample.wrongHandPosition = eventFlag_;
    } else if (phase_ == Phase::Ventilations) {
        volumeLitres = ventilationVolumeLitres();
        sample.ventilating = true;
        // The stomach fills once the inflation has gone past the lungs.
        sample.stomachInflation = eventFlag_ && phaseTime_ >= 0.5 * plan_.inflationSeconds;
    }

    sample.compression = clampByte(plan_.restCompression + depthMm * plan_.scale.countsPerMm);
    sample.ventilation = clampByte(plan_.restVentilation + volumeLitres * plan_.scale.countsPerLitre);
    sample.ecg = ecgAt(static_cast<double>(index_) * dt);
    ++index_;

    phaseTime_ += dt;
    if (phase_ != Phase::Rest && phaseTime_ + 1e-9 >= eventLength_) {
        const double carry = phaseTime_ - eventLength_;
        if (phase_ == Phase::Compressions) {
            ++compressionCount_;
            leaningCount_ += eventRelease_ > 0.0 ? 1 : 0;
            if (--eventsLeft_ > 0) {
                beginCompression();
                phaseTime_ = carry;
                return sample;
            }
        } else if (phase_ == Phase::Ventilations) {
            ++ventilationCount_;
            if (--eventsLeft_ > 0) {
                beginVentilation();
                phaseTime_ = carry;
                return sample;
            }
        }
        nextPhase();
        phaseTime_ = carry;
    }
    return sample;
}

} // namespace manikinsim
