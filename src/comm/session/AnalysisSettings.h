#pragma once
// The station settings that the compression analysis and the evaluation judge
// against, with the settings record's defaults; read at the moment they are
// needed through an AnalysisSettingsSource.

#include <cstdint>

struct AnalysisSettings {
    bool overrideCompressionDepth = false;  // use the depth window below instead of the algorithm's
    double compressionDepthLow = 30.0;      // mm
    double compressionDepthHigh = 52.0;     // mm
    double cardiacOutputPerCompression = 0.03; // litres per correct compression
    double cardiacOutputPerWrongHand = 0.01;   // litres per compression with a wrong hand position
    double cardiacOutputLow = 1.4;          // L/min
    double cardiacOutputHigh = 6.0;         // L/min
    std::int32_t maxPauseBetweenCompressions = 9; // seconds
};

class AnalysisSettingsSource {
public:
    virtual ~AnalysisSettingsSource() = default;
    virtual AnalysisSettings analysisSettings() const = 0;
};
