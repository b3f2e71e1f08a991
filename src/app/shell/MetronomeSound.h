#pragma once
// The metronome's click (WAVE 231), played without waiting for it and
// never over a click still sounding. Where the machine has no sound output,
// the platform's beep stands in.

#include <memory>

class QSoundEffect;

class MetronomeSound {
public:
    static constexpr int WAVE_ID = 231;

    // Looks once whether the machine has a sound output.
    MetronomeSound();
    ~MetronomeSound();
    MetronomeSound(const MetronomeSound&) = delete;
    MetronomeSound& operator=(const MetronomeSound&) = delete;

    void play();
    bool waveDevicePresent() const { return waveDevicePresent_; }

private:
    bool waveDevicePresent_;
    std::unique_ptr<QSoundEffect> effect_;
};
