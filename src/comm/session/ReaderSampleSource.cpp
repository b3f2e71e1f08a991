#include "comm/session/ReaderSampleSource.h"

#include "comm/reader/ManikinReader.h"
#include "comm/reader/Measurement.h"

bool ReaderSampleSource::hasSample() const
{
    return reader_.queuedSamples() > 0;
}

ManikinSample ReaderSampleSource::popSample()
{
    return reader_.popSample();
}

ManikinSample ReaderSampleSource::applyOffsets(const ManikinSample& sample) const
{
    return reader_.applyOffsets(sample);
}

Measurement ReaderSampleSource::convert(const ManikinSample& sample) const
{
    return reader_.convert(sample);
}

double ReaderSampleSource::currentRate() const
{
    return reader_.currentRate();
}

int ReaderSampleSource::linkType() const
{
    return reader_.linkType();
}
