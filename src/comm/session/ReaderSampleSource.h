#pragma once
// Feeds CommSession from a live ManikinReader.

#include "comm/session/SampleSource.h"

class ManikinReader;

class ReaderSampleSource final : public SampleSource {
public:
    explicit ReaderSampleSource(ManikinReader& reader) : reader_(reader) {}

    bool hasSample() const override;
    ManikinSample popSample() override;
    ManikinSample applyOffsets(const ManikinSample& sample) const override;
    Measurement convert(const ManikinSample& sample) const override;
    double currentRate() const override;
    int linkType() const override;

private:
    ManikinReader& reader_;
};
