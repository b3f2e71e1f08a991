#include "comm/session/CommSession.h"

#include "config/AlgorithmRecord.h"
#include "Rodezir/LogStream.h"
#include "comm/session/MeasurementText.h"
#include "comm/session/ReaderSampleSource.h"
#include "comm/link/SerialPort.h"
#include "comm/session/SessionStatistics.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <locale>
#include <ostream>
#include <sstream>

namespace {

// The framed links deliver 50 samples a second; the others 20.
constexpr double FRAMED_RATE = 50.0;
constexpr double UNFRAMED_RATE = 20.0;

constexpr std::int32_t COMPRESSION_CHANNEL = 1;
constexpr std::int32_t VENTILATION_CHANNEL = 2;
constexpr std::int32_t COMPRESSION_PEAK_THRESHOLD = 40;
constexpr std::int32_t VENTILATION_PEAK_THRESHOLD = 20;
constexpr std::int32_t COMPRESSION_MAX_GAP = 0;
constexpr std::int32_t VENTILATION_MAX_GAP = 4;

// Records are written in blocks, so a large session costs few stream calls.
constexpr std::size_t WRITE_BLOCK = 64 * 1024;
constexpr std::size_t READ_BLOCK = 64 * 1024;
// Whitespace and a partial record carried from one block to the next can
// never be this long in a sound text.
constexpr std::size_t MAX_CARRY = 1024 * 1024;
// One minute of samples on the framed links.
constexpr std::size_t GROWTH_STEP = 3000;

const AnalysisSettings DEFAULT_SETTINGS{};

} // namespace

CommSession::CommSession(const AnalysisSettingsSource* settings)
    : settings_(settings),
      compression_(*this),
      ventilation_(*this),
      compressionAverage_({5, 10, 5}, COMPRESSION_CHANNEL, COMPRESSION_PEAK_THRESHOLD),
      ventilationAverage_({2, 5, 10, 5, 2, 0}, VENTILATION_CHANNEL, VENTILATION_PEAK_THRESHOLD),
      compressionSlope_(COMPRESSION_CHANNEL, COMPRESSION_MAX_GAP),
      ventilationSlope_(VENTILATION_CHANNEL, VENTILATION_MAX_GAP)
{
}

CommSession::~CommSession()
{
    compressionMarked.disconnectAll();
    ventilationMarked.disconnectAll();
    seriesSummaryAdded.disconnectAll();
    curveChanged.disconnectAll();
}

AnalysisSettings CommSession::analysisSettings() const
{
    return settings_ ? settings_->analysisSettings() : DEFAULT_SETTINGS;
}

void CommSession::attach(ManikinReader& reader)
{
    ownedSource_ = std::make_unique<ReaderSampleSource>(reader);
    attach(*ownedSource_);
}

void CommSession::attach(SampleSource& source)
{
    if (&source != ownedSource_.get())
        ownedSource_.reset();
    source_ = &source;
    const int link = source.linkType();
    const bool framed = link == SerialPort::LINK_FRAMED_COM || link == SerialPort::LINK_WIRELESS;
    sampleRate = framed ? FRAMED_RATE : UNFRAMED_RATE;
    startFromEmpty();
    stored_ = false;
}

void CommSession::startFromEmpty()
{
    resetAnalysers();
    results_ = SessionResults{};
    rawHistory.clear();
    repairedHistory.clear();
    filteredHistory.clear();
    manData.clear();
}

void CommSession::resetAnalysers()
{
    compression_.reset();
    ventilation_.reset();
    compression_.setSampleRate(sampleRate);
}

void CommSession::processNewSamples()
{
    if (!source_)
        return;
    // The queue is asked for emptiness: four zeros are a manikin at rest and
    // must keep their place in time.
    while (source_->hasSample())
        processSample(source_->popSample());
}

void CommSession::processSample(const ManikinSample& popped)
{
    if (rawHistory.size() >= RAW_HISTORY) {
        rawHistory.erase(rawHistory.begin());
        repairedHistory.erase(repairedHistory.begin());
    }
    const std::size_t longestKernel =
        static_cast<std::size_t>(std::max(compressionAverage_.length(), ventilationAverage_.length()));
    if (filteredHistory.size() > longestKernel + 5)
        filteredHistory.erase(filteredHistory.begin());

    const ManikinSample corrected = source_->applyOffsets(popped);
    rawHistory.push_back(corrected);
    repairedHistory.push_back(corrected);

    compressionSlope_.filter(rawHistory, repairedHistory);
    ventilationSlope_.filter(rawHistory, repairedHistory);

    const ManikinSample compressionResult = compressionAverage_.filter(repairedHistory, filteredHistory);
    const ManikinSample ventilationResult = ventilationAverage_.filter(repairedHistory, filteredHistory);
    const ManikinSample filtered{compressionResult.compression, ventilationResult.ventilation, popped.error, popped.ecg};
    filteredHistory.push_back(filtered);
    KOVA_ASSERT(popped.error == filtered.error);

    appendMeasurement(source_->convert(filtered));
    sampleRate = source_->currentRate();
    compression_.setSampleRate(sampleRate);
}

void CommSession::appendMeasurement(const Measurement& m)
{
    // A session grows by 50 records a second for up to hours: growing by a
    // quarter keeps the spare room (and so the memory per sample) small.
    if (manData.size() == manData.capacity())
        manData.reserve(manData.size() + manData.size() / 4 + GROWTH_STEP);
    const auto index = static_cast<std::int32_t>(manData.size());
    compression_.process(m, index);
    ventilation_.process(m, index);
    manData.push_back(m);
}

void CommSession::markCompression(std::int32_t index)
{
    KOVA_ASSERT(index >= 0 && static_cast<std::size_t>(index) < manData.size());
    if (index < 0 || static_cast<std::size_t>(index) >= manData.size())
        return;
    manData[static_cast<std::size_t>(index)].compressionMark = 1;
    compressionMarked(index);
}

void CommSession::markVentilation(std::int32_t index)
{
    KOVA_ASSERT(index >= 0 && static_cast<std::size_t>(index) < manData.size());
    if (index < 0 || static_cast<std::size_t>(index) >= manData.size())
        return;
    manData[static_cast<std::size_t>(index)].ventilationMark = 1;
    ventilationMarked(index);
}

void CommSession::addSeriesSummary(const SeriesSummary& summary)
{
    if (summary.compressionPercent == 0)
        return;
    const std::int32_t key = (summary.firstStart + summary.lastEnd) / 2;
    KOVA_ASSERT(key >= 0 && static_cast<std::size_t>(key) < manData.size());
    summaries_.emplace(key, summary);
    seriesSummaryAdded(key);
}

const SeriesSummary* CommSession::seriesSummaryAt(std::int32_t index) const
{
    for (const auto& [key, summary] : summaries_)
        if (summary.firstStart <= index && index < summary.nextStart)
            return &summary;
    return nullptr;
}

bool CommSession::save(std::ostream& out) const
{
    if (!out)
        return false;
    std::string block;
    MeasurementText::appendHeader(block, static_cast<std::int32_t>(manData.size()));
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
    if (!out)
        return false;
    block.clear();
    for (const Measurement& m : manData) {
        MeasurementText::appendRecord(block, m);
        if (block.size() >= WRITE_BLOCK) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            if (!out)
                return false;
            block.clear();
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
    return static_cast<bool>(out);
}

bool CommSession::save(std::FILE* file) const
{
    if (!file || std::ferror(file))
        return false;
    std::ostringstream text;
    save(text);
    const std::string bytes = text.str();
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && !std::ferror(file);
}

bool CommSession::loadText(std::string_view text, double rate, std::size_t* consumed, std::size_t blockSize)
{
    std::size_t offset = 0;
    blockSize = std::max<std::size_t>(blockSize, 1);
    const auto read = [&](char* buffer, std::size_t capacity) {
        const std::size_t n = std::min({capacity, blockSize, text.size() - offset});
        std::copy_n(text.data() + offset, n, buffer);
        offset += n;
        return n;
    };
    std::size_t used = 0;
    const bool ok = loadBlocks(read, text.size(), rate, used);
    if (consumed)
        *consumed = used;
    return ok;
}

bool CommSession::load(std::istream& in, double rate)
{
    if (!in) {
        loadText({}, rate);
        return false;
    }
    const std::istream::pos_type start = in.tellg();
    std::size_t sizeHint = 0;
    if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
        sizeHint = static_cast<std::size_t>(std::max<std::streamoff>(in.tellg() - start, 0));
        in.seekg(start);
    }
    in.clear();
    const auto read = [&](char* buffer, std::size_t capacity) {
        in.read(buffer, static_cast<std::streamsize>(capacity));
        return static_cast<std::size_t>(in.gcount());
    };
    std::size_t consumed = 0;
    bool ok = loadBlocks(read, sizeHint, rate, consumed);
    if (in.bad()) {
        ok = false;
        loadText({}, rate);
    }
    // Leave the stream behind the measurement text for the sections that follow.
    in.clear();
    if (start != std::istream::pos_type(-1))
        in.seekg(start + static_cast<std::streamoff>(consumed));
    return ok;
}

bool CommSession::load(std::FILE* file, double rate)
{
    if (!file || std::ferror(file)) {
        loadText({}, rate);
        return false;
    }
    const long start = std::ftell(file);
    std::size_t sizeHint = 0;
    if (start >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
        sizeHint = static_cast<std::size_t>(std::max(std::ftell(file) - start, 0L));
        std::fseek(file, start, SEEK_SET);
    }
    const auto read = [&](char* buffer, std::size_t capacity) { return std::fread(buffer, 1, capacity, file); };
    std::size_t consumed = 0;
    bool ok = loadBlocks(read, sizeHint, rate, consumed);
    if (std::ferror(file)) {
        ok = false;
        loadText({}, rate);
    }
    if (start >= 0)
        std::fseek(file, start + static_cast<long>(consumed), SEEK_SET);
    return ok;
}

// The text is parsed block by block as it is read, so a long session needs
// no second copy of its file in memory. A block is parsed only up to its last
// whitespace, so no number is ever cut in two; a record that runs over the
// end of a block is read again with the next one.
bool CommSession::loadBlocks(const std::function<std::size_t(char*, std::size_t)>& read, std::size_t sizeHint,
                             double rate, std::size_t& consumed)
{
    // Every time figure divides by the rate: a session stored without a
    // usable one (a damaged record) is refused like a damaged text.
    const bool rateUsable = rate > 0.0 && std::isfinite(rate);
    if (rateUsable)
        sampleRate = rate;
    startFromEmpty();
    stored_ = true;
    source_ = nullptr;
    ownedSource_.reset();
    if (!rateUsable) {
        manData.shrink_to_fit();
        consumed = 0;
        return false;
    }

    TextLoad load;
    load.sizeHint = sizeHint;
    std::string pending;
    std::vector<char> block(READ_BLOCK);
    std::size_t dropped = 0;
    bool end = false;
    LoadStep step = LoadStep::NeedMore;
    while (step == LoadStep::NeedMore) {
        const std::size_t got = end ? 0 : read(block.data(), block.size());
        end = got == 0;
        pending.append(block.data(), got);
        std::size_t usable = pending.size();
        if (!end) {
            const std::size_t space = pending.find_last_of(" \t\n\v\f\r");
            usable = space == std::string::npos ? 0 : space + 1;
        }
        MeasurementText::Reader reader(std::string_view(pending.data(), usable));
        step = loadSome(reader, load);
        consumed = dropped + reader.position();
        if (step == LoadStep::NeedMore && (end || pending.size() - reader.position() > MAX_CARRY))
            step = LoadStep::Damaged;
        pending.erase(0, reader.position());
        dropped += reader.position();
    }
    if (step == LoadStep::Damaged) {
        // Nothing of a damaged text stays behind, not even in the analysers.
        startFromEmpty();
        manData.shrink_to_fit();
        return false;
    }
    return true;
}

CommSession::LoadStep CommSession::loadSome(MeasurementText::Reader& reader, TextLoad& load)
{
    if (!load.haveCount) {
        std::int32_t count = 0;
        if (!reader.readCount(count))
            return reader.exhausted() ? LoadStep::NeedMore : LoadStep::Damaged;
        load.haveCount = true;
        load.left = count;
        // Never trust the count for the allocation: the text must hold the records.
        const std::size_t possible =
            std::max(load.sizeHint, reader.remaining()) / MeasurementText::MIN_RECORD_BYTES + 1;
        manData.reserve(std::min(static_cast<std::size_t>(count), possible));
    }
    Measurement m;
    while (load.left > 0) {
        const std::size_t recordStart = reader.position();
        m = Measurement{};
        if (!reader.readRecord(m)) {
            const bool more = reader.exhausted();
            reader.rewind(recordStart);
            return more ? LoadStep::NeedMore : LoadStep::Damaged;
        }
        appendMeasurement(m);
        --load.left;
    }
    return LoadStep::Done;
}

bool CommSession::commandLineWantsDump(std::string_view commandLine)
{
    return commandLine.find("dumpdata") != std::string_view::npos;
}

void CommSession::writeDump() const
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::ostringstream name;
    name.imbue(std::locale::classic());
    name << "dumped data " << std::put_time(&local, "%B %d, %Y %H %M") << ".txt";
    std::ofstream dump(std::filesystem::current_path() / name.str(), std::ios::trunc);
    dump.imbue(std::locale::classic());
    const std::size_t lines = std::min({rawHistory.size(), repairedHistory.size(), filteredHistory.size()});
    for (std::size_t r = 0; r < lines; ++r)
        dump << rawHistory[r].compression << '\t' << repairedHistory[r].compression << '\t'
             << filteredHistory[r].compression << '\t' << rawHistory[r].ventilation << '\t'
             << repairedHistory[r].ventilation << '\t' << filteredHistory[r].ventilation << '\n';
    if (!dump)
        LogStream::instance() << "Could not write the dumped data file " << name.str() << "\n";
}

void CommSession::evaluate()
{
    if (dumpData_)
        writeDump();

    if (source_)
        sampleRate = source_->currentRate();
    resetAnalysers();
    for (std::size_t i = 0; i < manData.size(); ++i) {
        const Measurement m = manData[i];
        compression_.process(m, static_cast<std::int32_t>(i));
        ventilation_.process(m, static_cast<std::int32_t>(i));
    }
    const auto last = static_cast<std::int32_t>(manData.size()) - 1;

    getFirstActionTime();
    KOVA_ASSERT(algor != 0);
    if (!algor)
        return;

    const auto& series = compression_.series();
    const auto& groups = ventilation_.groups();
    if (trainingMode == 0 || trainingMode == 1 || trainingMode == 2) {
        results_.ventilation =
            SessionStatistics::evaluateVentilations(groups, last, algor->vVolLow, algor->vVolHigh, sampleRate);
        results_.initialVentilations = SessionStatistics::evaluateInitialVentilations(series, groups);
    }
    if (trainingMode == 0 || trainingMode == 1 || trainingMode == 3) {
        const AnalysisSettings settings = analysisSettings();
        SessionStatistics::CompressionLimits limits;
        limits.depthLow = algor->compDepthLow;
        limits.depthHigh = algor->compDepthHigh;
        limits.rateLow = algor->eccRateLow;
        limits.rateHigh = algor->eccRateHigh;
        limits.maxPause = settings.maxPauseBetweenCompressions;
        limits.cardiacOutputLow = settings.cardiacOutputLow;
        limits.cardiacOutputHigh = settings.cardiacOutputHigh;
        // The series the session ended in was never closed; its complete
        // cycles count in the ratio and the output as a closed series' do.
        // The analyser's series, and with them the stored summaries, stay as
        // they were.
        std::vector<CompressionSeries> judged = series;
        if (!judged.empty())
            judged.back().closeCompleteCycles(settings);
        results_.compression = SessionStatistics::evaluateCompressions(judged, limits, sampleRate);
    }
    if (trainingMode == 0)
        results_.cycles = SessionStatistics::evaluateCycles(series, groups,
                                                            SessionStatistics::truncate(algor->ventCompRatioSingleComp),
                                                            SessionStatistics::truncate(algor->ventCompRatioSingleVent));
    else if (trainingMode == 1)
        results_.cycles = SessionStatistics::evaluateCycles(series, groups,
                                                            SessionStatistics::truncate(algor->ventCompRatioDoubleComp),
                                                            SessionStatistics::truncate(algor->ventCompRatioDoubleVent));
}

std::int32_t CommSession::getFirstActionTime()
{
    results_.firstActionTime =
        SessionStatistics::firstActionTime(compression_.series(), ventilation_.groups(), sampleRate);
    return results_.firstActionTime;
}
