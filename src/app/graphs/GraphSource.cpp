#include "app/graphs/GraphSource.h"

#include "Rodezir/LogStream.h"
#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"
#include "gettext/Gettext.h"

GraphSource GraphSource::compression(CommSession& data, const AlgorithmRecord& algorithm)
{
    GraphSource source(data);
    source.curve = Curve::Compression;
    source.dataSignal = &data.compressionMarked;
    source.groupSignal = &data.seriesSummaryAdded;
    source.inverted = true;
    source.fullScale = 75.0;
    source.lowerLimit = algorithm.compDepthLow;
    source.upperLimit = algorithm.compDepthHigh;
    source.colour = 0xC83232;
    source.markerBitmap = COMPRESSION_MARKER;
    source.unit = Gettext::translate("mm.");
    source.name = Gettext::translate("Chest compression");
    return source;
}

GraphSource GraphSource::ecg(CommSession& data, const AlgorithmRecord& algorithm)
{
    GraphSource source(data);
    source.curve = Curve::Ecg;
    // The store flags status 66 as the samples arrive; it keeps this signal
    // for listeners that follow the ECG curve.
    source.dataSignal = &data.curveChanged;
    source.fullScale = 175.0;
    source.lowerLimit = algorithm.compDepthLow;
    source.upperLimit = algorithm.compDepthHigh;
    source.colour = 0x000000;
    source.markerBitmap = ECG_MARKER;
    source.unit = Gettext::translate(" ");
    source.name = Gettext::translate("ECG signal");
    return source;
}

GraphSource GraphSource::ventilation(CommSession& data, const AlgorithmRecord& algorithm)
{
    GraphSource source(data);
    source.curve = Curve::Ventilation;
    source.dataSignal = &data.ventilationMarked;
    source.fullScale = 1.2;
    source.lowerLimit = algorithm.vVolLow;
    source.upperLimit = algorithm.vVolHigh;
    source.colour = 0x0000FF;
    source.markerBitmap = VENTILATION_MARKER;
    source.unit = Gettext::translate("L.");
    source.name = Gettext::translate("Ventilation");
    return source;
}

GraphSample GraphSource::value(int index) const
{
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < data_->manData.size();
    KOVA_ASSERT(inside);
    if (!inside)
        return {};
    const Measurement& m = data_->manData[static_cast<std::size_t>(index)];
    switch (curve) {
    case Curve::Compression:
        return {m.depth, m.compressionMark != 0};
    case Curve::Ecg:
        return {static_cast<double>(m.ecg), m.error66 != 0};
    case Curve::Ventilation:
        return {m.volume, m.ventilationMark != 0};
    }
    return {};
}

const SeriesSummary* GraphSource::group(int index) const
{
    return hasGroup() ? data_->seriesSummaryAt(index) : nullptr;
}

int GraphSource::sampleCount() const { return static_cast<int>(data_->manData.size()); }

double GraphSource::sampleRate() const { return data_->sampleRate; }
