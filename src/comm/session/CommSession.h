#pragma once
// The measurement store of one training session: turns the raw samples of its
// manikin reader into filtered, converted measurements, runs the compression
// and ventilation analysers over them, reads and writes the measurement text
// and evaluates the session.

#include "Filters/RunningAverageFilter.h"
#include "Filters/SlopeFilter.h"
#include "Rodezir/Signal.h"
#include "comm/session/AnalysisSettings.h"
#include "comm/session/CompressionAnalyser.h"
#include "Filters/ManikinSample.h"
#include "comm/reader/Measurement.h"
#include "comm/session/MeasurementText.h"
#include "comm/session/SampleSource.h"
#include "comm/session/SeriesSummary.h"
#include "comm/session/SessionResults.h"
#include "comm/session/VentilationAnalyser.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct AlgorithmRecord;
class ManikinReader;

class CommSession {
public:
    // settings: where the station settings are read when the analysis needs
    // them (not owned); null evaluates with the settings' defaults.
    explicit CommSession(const AnalysisSettingsSource* settings = nullptr);
    ~CommSession();
    CommSession(const CommSession&) = delete;
    CommSession& operator=(const CommSession&) = delete;

    // A live session: start from empty data on the reader's samples (not owned).
    void attach(ManikinReader& reader);
    void attach(SampleSource& source);
    void setAlgorithm(const AlgorithmRecord* algorithm) { algor = algorithm; }
    // Takes every sample the reader has queued through the filters and analysers.
    void processNewSamples();

    // Runs the analysers over one more record and stores it.
    void appendMeasurement(const Measurement& m);
    void markCompression(std::int32_t index);
    void markVentilation(std::int32_t index);
    void addSeriesSummary(const SeriesSummary& summary);
    void clearSeriesSummaries() { summaries_.clear(); }

    // The measurement text; false when the stream failed.
    bool save(std::ostream& out) const;
    bool save(std::FILE* file) const;
    // A stored session, from its measurement text; the stream is left just
    // behind the last number read. False (and no data) when the text is
    // damaged or the rate is not above 0.
    bool load(std::istream& in, double rate);
    bool load(std::FILE* file, double rate);
    // The same from text in memory; consumed gets the bytes read. The text
    // is taken in blocks of blockSize bytes as it would be from a file.
    bool loadText(std::string_view text, double rate, std::size_t* consumed = nullptr,
                  std::size_t blockSize = 64 * 1024);

    // Analyses all measurements again and computes the results.
    void evaluate();
    std::int32_t getFirstActionTime();

    // Writes the filter histories to a "dumped data" file when evaluating,
    // as the command line's "dumpdata" asks.
    void setDumpData(bool dump) { dumpData_ = dump; }
    static bool commandLineWantsDump(std::string_view commandLine);

    AnalysisSettings analysisSettings() const;
    const std::map<std::int32_t, SeriesSummary>& seriesSummaries() const { return summaries_; }
    // The summary of the closed series whose span holds the index; null outside every one.
    const SeriesSummary* seriesSummaryAt(std::int32_t index) const;
    const CompressionAnalyser& compressionAnalyser() const { return compression_; }
    const VentilationAnalyser& ventilationAnalyser() const { return ventilation_; }
    const std::vector<CompressionSeries>& compressionSeries() const { return compression_.series(); }
    const std::vector<VentilationGroup>& ventilationGroups() const { return ventilation_.groups(); }
    double getCompressionRate() const { return compression_.liveRate(); }
    bool isStoredSession() const { return stored_; }
    const SessionResults& results() const { return results_; }

    std::int32_t getNrInitialVentilations() const { return results_.initialVentilations; }
    std::int32_t getNrVentilations() const { return results_.ventilation.count; }
    double getVentVolumeAverage() const { return results_.ventilation.averageVolume; }
    double getVentFreqAverage() const { return results_.ventilation.rate; }
    std::int32_t getVentVolumeOK() const { return results_.ventilation.volumeOK; }
    std::int32_t getVentVolumeLow() const { return results_.ventilation.volumeLow; }
    std::int32_t getVentVolumeHigh() const { return results_.ventilation.volumeHigh; }
    std::int32_t getNrStomachInflations() const { return results_.ventilation.stomachInflations; }
    std::int32_t getNrCompressions() const { return results_.compression.count; }
    std::int32_t getNrCompGroups() const { return results_.compression.seriesCount; }
    double getCompFreqAverage() const { return results_.compression.averageRate; }
    std::int32_t getCompFreqOK() const { return results_.compression.rateOK; }
    std::int32_t getCompFreqLow() const { return results_.compression.rateLow; }
    std::int32_t getCompFreqHigh() const { return results_.compression.rateHigh; }
    double getCompDepthAverage() const { return results_.compression.averageDepth; }
    std::int32_t getCompDepthOK() const { return results_.compression.depthOK; }
    std::int32_t getCompDepthLow() const { return results_.compression.depthLow; }
    std::int32_t getCompDepthHigh() const { return results_.compression.depthHigh; }
    double getCompRelaxRatio() const { return results_.compression.compRelaxRatio; }
    std::int32_t getPauseAverage() const { return results_.compression.averagePause; }
    std::int32_t getPauseOK() const { return results_.compression.pauseOK; }
    std::int32_t getPauseLong() const { return results_.compression.pauseLong; }
    std::int32_t getNrWrongHandPositions() const { return results_.compression.wrongHandPositions; }
    std::int32_t getNrLeanings() const { return results_.compression.leanings; }
    double getCardiacOutput() const { return results_.compression.averageCardiacOutput; }
    std::int32_t getCardiacOutputOK() const { return results_.compression.cardiacOutputOK; }
    std::int32_t getCardiacOutputLow() const { return results_.compression.cardiacOutputLow; }
    std::int32_t getCardiacOutputHigh() const { return results_.compression.cardiacOutputHigh; }
    std::int32_t getNrCycles() const { return results_.cycles.count; }
    std::int32_t getCyclesOK() const { return results_.cycles.correct; }
    double getCompPerCycleAverage() const { return results_.cycles.averageCompressions; }
    double getVentPerCycleAverage() const { return results_.cycles.averageVentilations; }

    // Raw history length kept for the slope filters.
    static constexpr std::size_t RAW_HISTORY = 11;

    const AlgorithmRecord* algor = nullptr;
    // 0 single-person CPR, 1 two-person CPR, 2 ventilation only, 3 compressions only.
    std::int32_t trainingMode = 0;

    Signal<int> compressionMarked;
    Signal<int> ventilationMarked;
    Signal<int> seriesSummaryAdded;
    // Kept beside the other three for listeners that follow every curve; not emitted here.
    Signal<int> curveChanged;

    std::vector<ManikinSample> rawHistory;
    std::vector<ManikinSample> repairedHistory;
    std::vector<ManikinSample> filteredHistory;
    std::vector<Measurement> manData;
    double sampleRate = 50.0;

private:
    enum class LoadStep { Done, NeedMore, Damaged };
    struct TextLoad {
        bool haveCount = false;
        std::int32_t left = 0;
        std::size_t sizeHint = 0;
    };

    bool loadBlocks(const std::function<std::size_t(char*, std::size_t)>& read, std::size_t sizeHint, double rate,
                    std::size_t& consumed);
    LoadStep loadSome(MeasurementText::Reader& reader, TextLoad& load);
    void startFromEmpty();
    void resetAnalysers();
    void processSample(const ManikinSample& popped);
    void writeDump() const;

    const AnalysisSettingsSource* settings_ = nullptr;
    SampleSource* source_ = nullptr;
    std::unique_ptr<SampleSource> ownedSource_;
    bool stored_ = false;
    bool dumpData_ = false;
    std::map<std::int32_t, SeriesSummary> summaries_;
    CompressionAnalyser compression_;
    VentilationAnalyser ventilation_;
    RunningAverageFilter compressionAverage_;
    RunningAverageFilter ventilationAverage_;
    SlopeFilter compressionSlope_;
    SlopeFilter ventilationSlope_;
    SessionResults results_;
};
