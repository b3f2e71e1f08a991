#pragma once
// What CommSession takes from the manikin reader of a live session: the queued
// raw samples, the calibration offsets, the conversion to millimetres and
// litres and the measured sample rate.

#include "Filters/ManikinSample.h"
#include "comm/reader/Measurement.h"

class SampleSource {
public:
    virtual ~SampleSource() = default;

    // Asked before every pop: a raw sample of four zeros is a manikin at rest,
    // not the sign of an empty queue.
    virtual bool hasSample() const = 0;
    virtual ManikinSample popSample() = 0;
    virtual ManikinSample applyOffsets(const ManikinSample& sample) const = 0;
    virtual Measurement convert(const ManikinSample& sample) const = 0;
    virtual double currentRate() const = 0;
    virtual int linkType() const = 0;
};
