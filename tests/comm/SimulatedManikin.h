#pragma once
// A framed manikin performing a scripted CPR performance for a real reader on
// a scripted link: each tick the next sample's frame arrives and the reader's
// clock moves on by one sample, as if the manikin streamed in real time.

#include "FakeReaderPort.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "manikin-sim/ManikinFrames.h"
#include "manikin-sim/PerformanceGenerator.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"

#include <cstdint>
#include <memory>

class SimulatedManikin {
public:
    // A kind-3 manikin on a COM port; the plan's scale and rest counts are
    // those of such a manikin calibrated at rest.
    explicit SimulatedManikin(manikinsim::PerformancePlan plan)
        : plan_(adjusted(plan)), generator_(plan_), installed_(clock_)
    {
        state_.linkType = SerialPort::LINK_FRAMED_COM;
        state_.kindIs3or4 = state_.kindIs3 = true;
        reader_ = std::make_unique<ManikinReader>(std::make_unique<FakeReaderPort>(state_));
        reader_->restartTimers();
        reader_->start();
    }

    ManikinReader& reader() { return *reader_; }
    const manikinsim::PerformanceGenerator& generator() const { return generator_; }

    // One sample's frame arrives and the reader drains the link; false when
    // the reader failed.
    bool tick()
    {
        const auto bytes = encoder_.encode(generator_.next());
        state_.incoming.insert(state_.incoming.end(), bytes.begin(), bytes.end());
        clock_.advance(static_cast<std::uint32_t>(1000 / plan_.sampleRate));
        return reader_->update();
    }

private:
    static manikinsim::PerformancePlan adjusted(manikinsim::PerformancePlan plan)
    {
        plan.scale = manikinsim::CountScale::framedKind3or4();
        plan.restCompression = plan.restVentilation = 0;
        return plan;
    }

    manikinsim::PerformancePlan plan_;
    manikinsim::PerformanceGenerator generator_;
    manikinsim::FrameEncoder encoder_{false};
    platform::ManualClock clock_;
    platform::ScopedClock installed_;
    FakeReaderPort::State state_;
    std::unique_ptr<ManikinReader> reader_;
};
