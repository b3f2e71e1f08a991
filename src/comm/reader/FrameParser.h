#pragma once
// Turns the bytes a manikin sends into raw samples: framed COM data with its
// doubled 0x7E bytes, wireless frames, and the unframed 4-byte records of older
// manikins. Pure byte work over a queue; the reader supplies the bytes.

#include "Filters/ManikinSample.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <span>

class FrameParser {
public:
    static constexpr std::uint8_t START_BYTE = 0x7E;
    static constexpr std::uint8_t RECORD_END = 0x0D;
    static constexpr int STATUS_ERROR66 = 0x42; // set by command 29 of a kind-3 manikin for one sample

    enum class RecordStep {
        Taken,     // one record became a sample
        TooFew,    // fewer than 4 bytes are queued
        OutOfStep, // the front byte does not start a record
    };
    enum class SyncStep {
        Synced,  // the front byte starts a record
        TooFew,  // fewer than 4 bytes are queued
        Dropped, // the front byte was dropped
    };

    // Status bytes that open an unframed record.
    static bool isRecordStatus(std::uint8_t byte);
    // The status after command 5 (stomach inflation) or 9 (hand position).
    static int statusAfter(int command, bool on, int before);
    // The ECG value of a payload byte; wireless manikins send it with a base of 30.
    static int ecgValue(std::uint8_t byte, bool wireless);

    // One pass over framed COM data. Returns whether another pass may find more.
    bool comPass(std::deque<std::uint8_t>& bytes, bool final);
    // One pass over wireless frames.
    bool wirelessPass(std::deque<std::uint8_t>& bytes, bool final);
    // Takes one unframed record from the front of the queue.
    RecordStep takeRecord(std::deque<std::uint8_t>& bytes);
    // One step of finding the start of the next unframed record.
    static SyncStep syncStep(std::deque<std::uint8_t>& bytes);

    // Back to knowing no value, as before the first frame of a new link.
    void forgetValues();
    // Queues a sample made elsewhere (recorded data).
    void queueSample(const ManikinSample& sample);

    const ManikinSample& currentSample() const { return currentSample_; }
    std::deque<ManikinSample>& sampleQueue() { return sampleQueue_; }
    const std::deque<ManikinSample>& sampleQueue() const { return sampleQueue_; }
    int receivedCount() const { return receivedCount_; }
    void resetReceivedCount() { receivedCount_ = 0; }
    bool passPending() const { return passPending_; }
    void setPassPending() { passPending_ = true; }
    void setKindIs3(bool kindIs3) { kindIs3_ = kindIs3; }
    // The battery level of the last command 21 since the previous call.
    std::optional<int> takeBatteryLevel();
    // Whether both the compression and the ventilation value have arrived.
    bool hasValues() const;

private:
    bool handle(int command, std::span<const std::uint8_t> payload, bool wireless);
    void queueCurrent();
    bool finishPass(bool handled);

    static constexpr ManikinSample NO_VALUES{-1, -1, 0, 0};

    ManikinSample currentSample_ = NO_VALUES;
    std::deque<ManikinSample> sampleQueue_;
    int receivedCount_ = 0;
    bool passPending_ = true;
    bool kindIs3_ = false;
    std::optional<int> batteryLevel_;
};
