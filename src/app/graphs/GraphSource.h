#pragma once
// The description of one curve of a session: how the panes draw it (scale,
// direction, recommended band, colour, marker picture, name and unit) and
// where its values come from (the session's measurement store).

#include "Rodezir/Signal.h"

#include <cstdint>
#include <string>

struct AlgorithmRecord;
class CommSession;
struct SeriesSummary;

// One sample as a curve shows it: its value and whether it carries the
// curve's problem flag.
struct GraphSample {
    double value = 0.0;
    bool flagged = false;
};

class GraphSource {
public:
    enum class Curve { Compression, Ecg, Ventilation };

    // The session's three curves over its measurement store (not owned; it
    // must outlive the description), with the limits of its algorithm.
    static GraphSource compression(CommSession& data, const AlgorithmRecord& algorithm);
    static GraphSource ecg(CommSession& data, const AlgorithmRecord& algorithm);
    static GraphSource ventilation(CommSession& data, const AlgorithmRecord& algorithm);

    // Sample `index` of the curve; an index outside the measurements is a
    // fault of the caller, logged, and reads as 0 without a flag.
    GraphSample value(int index) const;
    // The evaluated compression series holding the sample; null outside every
    // series and on curves without groups.
    const SeriesSummary* group(int index) const;
    bool hasGroup() const { return groupSignal != nullptr; }

    // The measurement count (the last sample index is one less) and the
    // samples per second of the store.
    int sampleCount() const;
    double sampleRate() const;
    const CommSession& data() const { return *data_; }

    Curve curve = Curve::Compression;
    // Notified with a sample index when a sample gets the flag the panes draw
    // as a problem marker.
    Signal<int>* dataSignal = nullptr;
    // Notified with a sample index when a series of compressions has been
    // evaluated; only the compression curve has it.
    Signal<int>* groupSignal = nullptr;
    // Drawn downward from the top of the pane (compression depth).
    bool inverted = false;
    double fullScale = 1.0;
    double lowerLimit = 0.0;
    double upperLimit = 0.0;
    // 0xRRGGBB.
    std::uint32_t colour = 0;
    // Bitmap resource of the problem marker.
    int markerBitmap = 0;
    std::wstring unit;
    std::wstring name;

    static constexpr int COMPRESSION_MARKER = 168;
    static constexpr int ECG_MARKER = 306;
    static constexpr int VENTILATION_MARKER = 167;

private:
    explicit GraphSource(CommSession& data) : data_(&data) {}

    CommSession* data_;
};
