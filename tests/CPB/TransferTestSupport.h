#pragma once
// Shared pieces of the set-up transfer tests: a progress that records what a
// transfer reports, a clock whose sleeps pump any number of simulated
// controllers, and reading and writing the controllers' named areas.

#include "CPB/CPBAlgorithmBlock.h"
#include "CPB/CPBProgress.h"
#include "CPB/Pointer.h"
#include "controller-sim/ControllerSimulator.h"
#include "platform/Clock.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace transfertest {

using Bytes = std::vector<std::uint8_t>;

class RecordingProgress final : public CPBProgress {
public:
    void setPos(int newPos) override
    {
        position = newPos;
        positions.push_back(newPos);
        if (onPosition)
            onPosition(newPos);
    }
    int getPos() const override { return position; }
    // Each text with the position the bar had when it was shown.
    void setText(const std::wstring& text) override { texts.emplace_back(text, position); }

    bool neverMovedBack() const
    {
        for (std::size_t i = 1; i < positions.size(); ++i)
            if (positions[i] < positions[i - 1])
                return false;
        return true;
    }
    std::wstring lastText() const { return texts.empty() ? std::wstring() : texts.back().first; }
    // The position when `text` was shown, -1 when it never was.
    int positionAt(const std::wstring& text) const
    {
        for (const auto& [shown, at] : texts)
            if (shown == text)
                return at;
        return -1;
    }

    int position = 0;
    std::vector<int> positions;
    std::vector<std::pair<std::wstring, int>> texts;
    std::function<void(int)> onPosition;
};

// Manual time: a sleep moves the tick count on and lets every controller
// answer what it has received so far.
class ControllersClock final : public platform::Clock {
public:
    std::uint32_t tickCount() override { return now_; }
    void sleep(std::uint32_t milliseconds) override
    {
        now_ += milliseconds;
        for (controllersim::ControllerSimulator* controller : controllers)
            controller->pump();
    }

    std::vector<controllersim::ControllerSimulator*> controllers;

private:
    std::uint32_t now_ = 1000;
};

inline Bytes area(const controllersim::ControllerDevice& device, int name, int offset, int length)
{
    const CPBAdr at = Pointer::get(name) + offset;
    return device.memory(at.bank, static_cast<std::uint16_t>(at.getAdr()), static_cast<std::size_t>(length));
}

inline Bytes area(const controllersim::ControllerDevice& device, int name)
{
    return area(device, name, 0, Pointer::size(name));
}

inline void setArea(controllersim::ControllerDevice& device, int name, int offset, const Bytes& bytes)
{
    const CPBAdr at = Pointer::get(name) + offset;
    device.setMemory(at.bank, static_cast<std::uint16_t>(at.getAdr()), bytes);
}

inline Bytes text(const std::string& characters) { return Bytes(characters.begin(), characters.end()); }

// An algorithm block as the controller holds it: its name, then the limits in
// their order (initial ventilations, rate, volume, ECC rate, depth, low before high).
inline void putAlgorithm(controllersim::ControllerDevice& device, int a, const std::string& name,
                         const std::vector<float>& limits)
{
    const int block = a == 0 ? Pointer::ALGORITHM_1 : Pointer::ALGORITHM_2;
    Bytes nameBytes = text(name);
    nameBytes.push_back(0);
    setArea(device, block, CPBAlgorithmBlock::NAME, nameBytes);
    const int offsets[] = {CPBAlgorithmBlock::INIT_VENT, CPBAlgorithmBlock::VENTILATION_RATE,
                           CPBAlgorithmBlock::VENTILATION_VOLUME, CPBAlgorithmBlock::COMPRESSION_RATE,
                           CPBAlgorithmBlock::COMPRESSION_DEPTH};
    setArea(device, block, offsets[0], CPBAlgorithmBlock::encodeFloats({limits[0]}));
    for (int k = 0; k < 4; ++k)
        setArea(device, block, offsets[k + 1],
                CPBAlgorithmBlock::encodeFloats({limits[static_cast<std::size_t>(1 + 2 * k)],
                                                 limits[static_cast<std::size_t>(2 + 2 * k)]}));
}

// The index of the first request into the area, -1 when none went there.
inline int firstRequestInto(const controllersim::ControllerDevice& device, int name)
{
    const CPBAdr start = Pointer::get(name);
    const auto& requests = device.requests();
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const int offset = requests[i].offset - start.getAdr();
        if (requests[i].bank == start.bank && offset >= 0 && offset < Pointer::size(name))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace transfertest
