#pragma once
// A scripted CPR performance: cycles of chest compressions at a given rate and
// depth, pauses with ventilations, and an ECG trace, produced sample by sample
// as the raw counts a manikin would measure. Each compression presses down,
// releases to rest and rests briefly before the next, as a trainee's hands do,
// so the station's analysers see every stroke. Deterministic for a given plan.

#include <cstdint>

namespace manikinsim {

// How raw counts relate to millimetres and litres for one kind of manikin link.
struct CountScale {
    double countsPerMm = 2.72;
    double countsPerLitre = 128.2;

    // Framed manikins of kind 3 or 4 and wireless manikins.
    static CountScale framedKind3or4();
    // Framed manikins of kind 1.
    static CountScale framedKind1();
    // Manikins of the ASCII handshake sending unframed records.
    static CountScale unframed();
    // Recorded demonstration data (unframed factors without the live correction).
    static CountScale recorded();
};

struct PerformancePlan {
    int sampleRate = 50;                 // samples per second
    double compressionRate = 110.0;      // compressions per minute
    double compressionDepthMm = 55.0;
    int compressionsPerCycle = 30;
    int cycles = 0;                      // the chest rests after this many cycles (0 = never)
    int ventilationsPerCycle = 2;
    double ventilationVolumeLitres = 0.6;
    double inflationSeconds = 1.0;
    double exhalationSeconds = 1.5;
    double pauseSeconds = 0.8;           // between compressions and ventilations
    double leadInSeconds = 1.0;          // the chest at rest before the first cycle
    CountScale scale;
    int restCompression = 6;             // counts with the chest at rest
    int restVentilation = 4;
    double jitter = 0.04;                // relative spread of depth, rate and volume
    // Faults, each every n-th event (0 = never).
    int shallowEvery = 0;                // a compression at 60 % of the depth
    int fastEvery = 0;                   // a cycle at 140 % of the rate
    int stomachInflationEvery = 0;       // a ventilation of 180 % volume that inflates the stomach
    int wrongHandPositionEvery = 0;      // a compression with the hands misplaced
    int leanEvery = 0;                   // a compression released only to 20 % of its depth
    double heartRate = 72.0;             // beats per minute of the ECG trace
    int ecgBaseline = 40;
    std::uint32_t seed = 0x2545F491u;
};

// One sample as the manikin measures it.
struct PerformanceSample {
    int compression = 0;                 // raw count, 0 to 255
    int ventilation = 0;                 // raw count, 0 to 255
    int ecg = 0;                         // 0 to 255
    bool stomachInflation = false;
    bool wrongHandPosition = false;
    bool compressing = false;            // a compression is in progress
    bool ventilating = false;            // a ventilation is in progress
};

class PerformanceGenerator {
public:
    explicit PerformanceGenerator(const PerformancePlan& plan);

    PerformanceSample next();
    std::int64_t sampleIndex() const { return index_; }
    // Counts of finished events so far.
    std::int64_t compressions() const { return compressionCount_; }
    std::int64_t ventilations() const { return ventilationCount_; }
    std::int64_t leanings() const { return leaningCount_; }
    // All planned cycles are done; the chest rests from here on.
    bool finished() const { return phase_ == Phase::Rest; }

private:
    enum class Phase { LeadIn, Compressions, PauseBefore, Ventilations, PauseAfter, Rest };

    double random();                     // 0 .. 1
    double spread();                     // 1 +- jitter
    void beginCompression();
    void beginVentilation();
    void nextPhase();
    int ecgAt(double seconds) const;
    double compressionDepthMm() const;
    double ventilationVolumeLitres() const;

    PerformancePlan plan_;
    std::uint32_t state_;
    std::int64_t index_ = 0;
    Phase phase_ = Phase::LeadIn;
    double phaseTime_ = 0.0;             // seconds into the current event or pause
    double eventLength_ = 0.0;
    double eventPeak_ = 0.0;             // mm or litres of the current event
    bool eventFlag_ = false;             // wrong hand / stomach inflation of the event
    double eventStart_ = 0.0;            // mm the current compression starts from
    double eventRelease_ = 0.0;          // mm it is released to (0 = rest)
    int eventsLeft_ = 0;
    std::int64_t cycle_ = 0;
    double cycleRate_ = 0.0;
    std::int64_t compressionCount_ = 0;
    std::int64_t ventilationCount_ = 0;
    std::int64_t leaningCount_ = 0;
};

} // namespace manikinsim
