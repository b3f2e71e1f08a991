#include "comm/reader/ManikinReader.h"

#include "Rodezir/LogStream.h"
#include "comm/reader/Measurement.h"
#include "comm/reader/ReaderPort.h"
#include "comm/link/SerialPort.h"
#include "platform/Clock.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr int STREAM_ATTEMPTS = 100;
constexpr std::uint32_t STREAM_SLEEP_MS = 25;
constexpr int RATE_MIN_SAMPLES = 50;
constexpr std::size_t CALIBRATION_MIN_BYTES = 120;
constexpr int CALIBRATION_MAX_SPREAD = 8;
constexpr int OFFSET_NOISE = 8;

struct ConversionFactors {
    double depthPerCount;  // mm per raw compression count
    double volumePerCount; // litres per raw ventilation count
};

// Older framed manikins, newer framed and wireless manikins, and the rest
// (unframed manikins and recorded data).
constexpr ConversionFactors FRAMED_KIND_1{0.3184713375796178, 0.012195121951219513};
constexpr ConversionFactors FRAMED_KIND_3_4{0.29411764705882354, 0.013};
constexpr ConversionFactors UNFRAMED{0.24752475247524752, 0.008928571428571428};
// The final correction of live readings; recorded data go without it.
constexpr double LIVE_DEPTH_SCALE = 1.25;
constexpr double LIVE_VOLUME_SCALE = 0.6;

bool isStatus(int status, std::initializer_list<int> codes)
{
    return std::find(codes.begin(), codes.end(), status) != codes.end();
}

int corrected(int raw, int offset)
{
    const int value = raw - offset;
    return value < OFFSET_NOISE ? 0 : value;
}

} // namespace

ManikinReader::ManikinReader(std::unique_ptr<ReaderPort> port)
    : port_(std::move(port))
    , compressionOffset_(port_->compressionOffset())
    , ventilationOffset_(port_->ventilationOffset())
    , currentRate_(nominalRate())
{
}

ManikinReader::~ManikinReader() = default;

bool ManikinReader::isFrameLink() const
{
    const int type = port_->linkType();
    return type == SerialPort::LINK_FRAMED_COM || type == SerialPort::LINK_WIRELESS;
}

double ManikinReader::nominalRate() const
{
    return isFrameLink() ? 50.0 : 20.0;
}

int ManikinReader::linkType() const
{
    return port_->linkType();
}

int ManikinReader::open(int port)
{
    // Whatever this reader knew of the link before belongs to a link that
    // has gone: a value held from then is no sample of the new one.
    identifyingAgain_.reset();
    restartStream();
    const int number = port == -1 ? port_->portNumber() : port;
    const int result = number > LAST_COM_PORT ? port_->openWireless(port) : port_->open(port);
    if (result != OPEN_SUCCESS)
        return result;
    if (port_->isRecordedDataPort())
        return OPEN_SUCCESS;
    currentRate_ = nominalRate();
    // The stream is timed from the moment it is asked for: the samples the
    // wait finds belong to the rate as much as those of later ticks.
    receiveWatch_.restart();
    receiveWatch_.resume();
    return waitForStream() ? OPEN_SUCCESS : OPEN_NO_DATA;
}

void ManikinReader::restartStream()
{
    parser_.forgetValues();
    restartTimers();
    idleFrameWatch_.restart();
}

bool ManikinReader::waitForStream()
{
    return isFrameLink() ? waitForFrames() : waitForRecords();
}

bool ManikinReader::waitForFrames()
{
    for (int attempt = 0; attempt < STREAM_ATTEMPTS && !parser_.hasValues(); ++attempt) {
        port_->requestDataStreams();
        parseFrames(false);
    }
    return parser_.hasValues();
}

bool ManikinReader::waitForRecords()
{
    std::deque<std::uint8_t>& bytes = port_->readData();
    for (int attempt = 0; attempt < STREAM_ATTEMPTS; ++attempt) {
        port_->readPending();
        switch (FrameParser::syncStep(bytes)) {
        case FrameParser::SyncStep::Synced:
            return true;
        case FrameParser::SyncStep::TooFew:
            platform::Clock::instance().sleep(STREAM_SLEEP_MS);
            break;
        case FrameParser::SyncStep::Dropped:
            break;
        }
    }
    return false;
}

void ManikinReader::start()
{
    if (port_->isRecordedDataPort()) {
        receiveWatch_.resume();
        running_ = true;
        return;
    }
    KOVA_ASSERT(port_->isConnected());
    if (!port_->isConnected())
        return;
    // A manikin being identified again owns what arrives until it is done.
    if (!identifyingAgain_)
        port_->flushInput();
    receiveWatch_.resume();
    // However long the pause, the silence that counts starts now.
    idleFrameWatch_.restart();
    running_ = true;
}

void ManikinReader::stop()
{
    // The last pass must run even when this tick's pass already ran, or the
    // bytes that arrived since are lost at the end of a session.
    if (!port_->isRecordedDataPort() && port_->isConnected() && !identifyingAgain_) {
        parser_.setPassPending();
        readFrames();
    }
    receiveWatch_.pause();
    running_ = false;
}

void ManikinReader::restartTimers()
{
    parser_.resetReceivedCount();
    receiveWatch_.restart();
    // Only collecting time counts.
    if (!running_)
        receiveWatch_.pause();
}

bool ManikinReader::update()
{
    if (port_->isRecordedDataPort()) {
        replayRecordedData();
        return true;
    }
    parser_.setPassPending();
    return readFrames();
}

void ManikinReader::replayRecordedData()
{
    if (!running_) {
        receiveWatch_.pause();
        return;
    }
    receiveWatch_.resume();
    // The recordings come at their own rate by the clock, however often the
    // ticks come: a late tick gives what is due since, an early one nothing.
    const int due = port_->recordedSamplesDue(receiveWatch_.elapsed(), parser_.receivedCount());
    for (int i = 0; i < due; ++i)
        parser_.queueSample(port_->recordedSample(parser_.receivedCount()));
}

bool ManikinReader::readFrames()
{
    if (identifyingAgain_)
        return stepIdentifyingAgain();
    if (!running_) {
        receiveWatch_.pause();
        port_->flushInput();
        return true;
    }
    receiveWatch_.resume();
    if (port_->isAlive()) {
        int parsed = 0;
        while (parseFrames(false))
            ++parsed;
        if (parsed > 0) {
            idleFrameWatch_.restart();
        } else if (idleFrameWatch_.elapsed() > IDLE_LIMIT_MS) {
            idleFrameWatch_.restart();
            // Newer manikins never fall silent while they work; older ones
            // may have been swapped or restarted, so ask who is there.
            if (port_->kindIs3or4()) {
                port_->setLinkType(SerialPort::LINK_LOST);
                return false;
            }
            identifyingAgain_.emplace(identifyAgain());
            stepWatch_.restart();
            return stepIdentifyingAgain();
        }
    }
    const std::uint32_t elapsed = receiveWatch_.elapsed();
    if (parser_.receivedCount() > RATE_MIN_SAMPLES && elapsed > 0)
        currentRate_ = parser_.receivedCount() * 1000.0 / elapsed;
    else if (parser_.receivedCount() <= RATE_MIN_SAMPLES)
        currentRate_ = nominalRate();
    return true;
}

LinkSteps ManikinReader::identifyAgain()
{
    const int result = co_await port_->identifySteps();
    if (result != OPEN_SUCCESS)
        co_return result;
    // A new stream starts here: the silence is no part of its rate, nor a
    // value from before it part of its samples.
    restartStream();
    // The handshake stopped a framed manikin's stream: it streams again once asked.
    if (isFrameLink())
        co_await port_->requestDataStreamsSteps();
    co_return result;
}

bool ManikinReader::stepIdentifyingAgain()
{
    // The steps whose waits are over run now; the others wait for later ticks,
    // so the handshake never holds up the ticks of other sessions.
    LinkSteps& steps = *identifyingAgain_;
    while (!steps.done() && stepWatch_.elapsed() >= steps.nextWait()) {
        steps.step();
        stepWatch_.restart();
    }
    if (!steps.done())
        return true;
    const int result = steps.result();
    identifyingAgain_.reset();
    return result == OPEN_SUCCESS;
}

bool ManikinReader::parseFrames(bool final)
{
    if (!port_->isConnected())
        return false;
    parser_.setKindIs3(port_->kindIs3());
    bool result = false;
    switch (port_->linkType()) {
    case SerialPort::LINK_UNFRAMED:
        return parseRecord();
    case SerialPort::LINK_WIRELESS:
        port_->readPending();
        result = parser_.wirelessPass(port_->readData(), final);
        break;
    case SerialPort::LINK_FRAMED_COM:
        port_->readPending();
        result = parser_.comPass(port_->readData(), final);
        break;
    default:
        KOVA_ASSERT(false);
        return false;
    }
    forwardBatteryLevel();
    return result;
}

bool ManikinReader::parseRecord()
{
    port_->readPending();
    switch (parser_.takeRecord(port_->readData())) {
    case FrameParser::RecordStep::Taken:
        return true;
    case FrameParser::RecordStep::TooFew:
        return false;
    case FrameParser::RecordStep::OutOfStep:
        break;
    }
    return waitForRecords();
}

void ManikinReader::forwardBatteryLevel()
{
    if (const auto level = parser_.takeBatteryLevel())
        port_->setBatteryLevel(*level);
}

ManikinSample ManikinReader::popSample()
{
    auto& queue = parser_.sampleQueue();
    if (queue.empty())
        return {};
    const ManikinSample sample = queue.front();
    queue.pop_front();
    return sample;
}

std::size_t ManikinReader::queuedSamples() const
{
    return parser_.sampleQueue().size();
}

ManikinSample ManikinReader::applyOffsets(const ManikinSample& sample) const
{
    ManikinSample result = sample;
    result.compression = corrected(sample.compression, compressionOffset_);
    result.ventilation = corrected(sample.ventilation, ventilationOffset_);
    return result;
}

Measurement ManikinReader::convert(const ManikinSample& sample) const
{
    const bool recorded = port_->isRecordedDataPort();
    const int type = port_->linkType();
    ConversionFactors factors = UNFRAMED;
    if (!recorded && type == SerialPort::LINK_FRAMED_COM && !port_->kindIs3or4())
        factors = FRAMED_KIND_1;
    else if (!recorded && isFrameLink())
        factors = FRAMED_KIND_3_4;

    Measurement measurement;
    measurement.depth = sample.compression * factors.depthPerCount;
    measurement.volume = sample.ventilation * factors.volumePerCount;
    if (!recorded) {
        measurement.depth *= LIVE_DEPTH_SCALE;
        measurement.volume *= LIVE_VOLUME_SCALE;
    }
    measurement.stomachInflation = isStatus(sample.error, {12, 28, 140, 156}) ? 1 : 0;
    measurement.wrongHandPosition = isStatus(sample.error, {140, 156, 204, 220}) ? 1 : 0;
    measurement.error66 = sample.error == FrameParser::STATUS_ERROR66 ? 1 : 0;
    measurement.ecg = sample.ecg;
    return measurement;
}

void ManikinReader::startCalibration()
{
    if (port_->isRecordedDataPort() || !port_->isConnected())
        return;
    port_->flushInput();
    // Samples queued before the measurement (the stream wait's among them)
    // are not rest values of this measurement.
    parser_.sampleQueue().clear();
    if (port_->linkType() == SerialPort::LINK_FRAMED_COM) {
        port_->requestDataStreams();
        port_->requestDataStreams();
    }
    calibrationWatch_.restart();
}

int ManikinReader::getCalibrationStatus()
{
    if (port_->isRecordedDataPort()) {
        const ManikinSample first = port_->recordedSample(0);
        compressionOffset_ = first.compression;
        ventilationOffset_ = first.ventilation;
        port_->setCalibrationOffsets(compressionOffset_, ventilationOffset_);
        return CALIBRATION_DONE;
    }
    if (!port_->isConnected())
        return CALIBRATION_NOT_CONNECTED;
    if (calibrationWatch_.elapsed() < CALIBRATION_MS)
        return CALIBRATION_MEASURING;
    port_->readPending();
    if (port_->linkType() != SerialPort::LINK_FRAMED_COM && port_->readData().size() < CALIBRATION_MIN_BYTES)
        return CALIBRATION_TOO_LITTLE_DATA;
    while (parseFrames(true)) {
    }

    int compressionMin = 256, compressionMax = 0, ventilationMin = 256, ventilationMax = 0;
    long long compressionSum = 0, ventilationSum = 0;
    long long count = 0;
    auto& queue = parser_.sampleQueue();
    for (const ManikinSample& sample : queue) {
        compressionMin = std::min(compressionMin, sample.compression);
        compressionMax = std::max(compressionMax, sample.compression);
        ventilationMin = std::min(ventilationMin, sample.ventilation);
        ventilationMax = std::max(ventilationMax, sample.ventilation);
        compressionSum += sample.compression;
        ventilationSum += sample.ventilation;
        ++count;
    }
    queue.clear();

    // A manikin that sent nothing usable has no rest values to average.
    if (count == 0)
        return CALIBRATION_TOO_LITTLE_DATA;
    if (ventilationMax - ventilationMin > CALIBRATION_MAX_SPREAD)
        return CALIBRATION_VENTILATION_MOVED;
    if (compressionMax - compressionMin > CALIBRATION_MAX_SPREAD)
        return CALIBRATION_COMPRESSION_MOVED;
    compressionOffset_ = static_cast<int>(compressionSum / count);
    ventilationOffset_ = static_cast<int>(ventilationSum / count);
    port_->setCalibrationOffsets(compressionOffset_, ventilationOffset_);
    port_->flushInput();
    return CALIBRATION_DONE;
}
