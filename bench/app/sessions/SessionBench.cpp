// Speed of the sessions: one 20 ms tick of the session manager over 64 live
// sessions, each of which gets one new sample (a wireless manikin's frame on
// an in-memory link, read by a real reader); and storing a 60-minute session
// at 50 samples per second as its data file, against fprintf of the same text
// into a plain file in the same folder. Prints the figures against their targets.

#include "FakeReaderPort.h"
#include "RatioReporter.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionLink.h"
#include "app/sessions/SessionManager.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/PortNumbers.h"
#include "comm/link/SerialPort.h"
#include "config/AlgorithmRecord.h"
#include "manikin-sim/ManikinFrames.h"
#include "manikin-sim/PerformanceGenerator.h"
#include "platform/ManualClock.h"
#include "platform/RegistryStore.h"
#include "platform/ScopedClock.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int SESSIONS = 64;
constexpr int SAMPLE_RATE = 50;
constexpr std::uint32_t TICK_MS = 20;
// A minute of frames, sent round and round.
constexpr std::size_t LOOP_SAMPLES = 60 * SAMPLE_RATE;
constexpr std::size_t SAVED_SAMPLES = 60 * 60 * SAMPLE_RATE;
// Ticks measured: five minutes of every session.
constexpr int TICKS = 5 * 60 * SAMPLE_RATE;

manikinsim::PerformancePlan plan()
{
    manikinsim::PerformancePlan p;
    p.sampleRate = SAMPLE_RATE;
    p.scale = manikinsim::CountScale::framedKind3or4();
    p.shallowEvery = 7;
    p.stomachInflationEvery = 9;
    return p;
}

// A minute of a wireless kind-3 manikin's frames, one frame a sample.
const std::vector<std::vector<std::uint8_t>>& frames()
{
    static const auto all = [] {
        manikinsim::PerformanceGenerator generator(plan());
        manikinsim::FrameEncoder encoder(true);
        std::vector<std::vector<std::uint8_t>> out;
        for (std::size_t i = 0; i < LOOP_SAMPLES; ++i)
            out.push_back(encoder.encode(generator.next()));
        return out;
    }();
    return all;
}

// A wireless manikin's link held in memory: each tick one frame arrives.
class MemoryLink final : public SessionLink {
public:
    explicit MemoryLink(int port)
    {
        state_.portNumber = port;
        state_.linkType = SerialPort::LINK_WIRELESS;
        state_.kindIs3or4 = true;
        state_.kindIs3 = true;
        reader_ = std::make_unique<ManikinReader>(std::make_unique<FakeReaderPort>(state_));
    }
    void arrive()
    {
        const auto& frame = frames()[next_++ % frames().size()];
        state_.incoming.insert(state_.incoming.end(), frame.begin(), frame.end());
    }

    int portNumber() const override { return state_.portNumber; }
    ManikinReader& reader() override { return *reader_; }
    bool isAlive() override { return true; }
    int batteryLevel() const override { return 3; }
    void requestBatteryLevel() override {}
    std::string manikinName() const override { return "Bench"; }
    bool sendsEcg() const override { return true; }
    void sendCommand24(bool) override {}
    void setPulse(bool) override {}
    bool pulseOn() const override { return false; }
    bool release() override { return true; }
    int reopen() override { return SerialPort::OPEN_SUCCESS; }

private:
    FakeReaderPort::State state_;
    std::unique_ptr<ManikinReader> reader_;
    std::size_t next_ = 0;
};

SessionRecord benchRecord(int port)
{
    SessionRecord record;
    record.Manikin = port;
    record.linkType = SerialPort::LINK_WIRELESS;
    record.Duration = -1;
    return record;
}

void BM_TickOf64LiveSessions(benchmark::State& state)
{
    platform::ManualClock clock;
    platform::ScopedClock installed(clock);
    SessionManager manager(false);
    std::vector<MemoryLink*> links;
    for (int i = 0; i < SESSIONS; ++i) {
        auto link = std::make_unique<MemoryLink>(FIRST_WIRELESS_PORT + i);
        links.push_back(link.get());
        auto* session = new Session(benchRecord(FIRST_WIRELESS_PORT + i), AlgorithmRecord{}, std::move(link));
        manager.addSession(session);
    }
    manager.startAll();
    for (Session* session : manager.sessions())
        session->start();
    for (auto _ : state) {
        for (MemoryLink* link : links)
            link->arrive();
        clock.advance(TICK_MS);
        manager.tick();
    }
    for (Session* session : manager.sessions())
        if (session->getCommSession().manData.size() != static_cast<std::size_t>(state.iterations()))
            state.SkipWithError("a session missed a sample");
}

// A 60-minute session's measurements and marks, and the folder its data file goes to.
struct StoredSession {
    StoredSession()
    {
        folder = std::filesystem::temp_directory_path() / ("kova-session-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "registry");
        ::setenv("KOVA_REGISTRY_DIR", (folder / "registry").c_str(), 1);
        platform::RegistryStore::setMachineWritable(true);
        platform::RegistryStore::instance().setString(platform::RegistryRoot::Machine, "SOFTWARE\\Kova\\Kova CPR\\3.1.3",
                                                      "Data Folder", folder.string());
        platform::RegistryStore::setMachineWritable(false);

        session = std::make_unique<Session>(benchRecord(FIRST_WIRELESS_PORT), AlgorithmRecord{},
                                            std::make_unique<MemoryLink>(FIRST_WIRELESS_PORT));
        manikinsim::PerformanceGenerator generator(plan());
        auto& data = session->getCommSession().manData;
        data.reserve(SAVED_SAMPLES);
        for (std::size_t i = 0; i < SAVED_SAMPLES; ++i) {
            const manikinsim::PerformanceSample s = generator.next();
            Measurement m;
            m.depth = s.compression / 2.72;
            m.volume = s.ventilation / 128.2;
            m.ecg = s.ecg;
            m.stomachInflation = s.stomachInflation ? 1 : 0;
            m.wrongHandPosition = s.wrongHandPosition ? 1 : 0;
            data.push_back(m);
        }
        for (int i = 0; i < 40; ++i)
            session->getCompressionDoc().addMark(ToolbarButton(L"", L"", i % 8));
    }
    ~StoredSession()
    {
        session.reset();
        std::filesystem::remove_all(folder);
    }

    std::filesystem::path folder;
    std::unique_ptr<Session> session;
};

StoredSession& storedSession()
{
    static StoredSession stored;
    return stored;
}

void BM_SaveSixtyMinutes(benchmark::State& state)
{
    Session& session = *storedSession().session;
    for (auto _ : state)
        if (!session.save())
            state.SkipWithError("the data file was not written");
}

// The same text written line by line with fprintf into a file of the same folder.
void BM_FprintfBaseline(benchmark::State& state)
{
    const Session& session = *storedSession().session;
    const std::string path = (storedSession().folder / "baseline.dat").string();
    const auto& data = session.getCommSession().manData;
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fprintf(file, "%d\r\n", 40);
        for (int i = 0; i < 40; ++i)
            std::fprintf(file, "%d %d\r\n", -1, i % 8);
        std::fprintf(file, "%d\r\n", 0);
        std::fprintf(file, "%d\r\n", static_cast<int>(data.size()));
        for (const Measurement& m : data)
            std::fprintf(file, "%.4g %d %d %d %.4g %d %d %d\r\n", m.depth, m.ventilationMark, m.compressionMark,
                         m.stomachInflation, m.volume, m.wrongHandPosition, m.ecg, m.error66);
        std::fprintf(file, "recommendations:\n%s\n", "");
        if (std::fclose(file) != 0)
            state.SkipWithError("the baseline file was not written");
    }
}

BENCHMARK(BM_TickOf64LiveSessions)->Iterations(TICKS)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveSixtyMinutes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FprintfBaseline)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter;
    if (!reporter.run(argc, argv))
        return 1;

    const double tick = reporter.seconds("BM_TickOf64LiveSessions/iterations:" + std::to_string(TICKS));
    if (tick > 0)
        std::printf("tick of %d live sessions: %.3f%% of the 20 ms tick (target under 1%%)\n", SESSIONS,
                    tick / (TICK_MS / 1000.0) * 100.0);
    if (const double baseline = reporter.seconds("BM_FprintfBaseline"); baseline > 0)
        std::printf("Session::save / fprintf of the same text: %.2f (target at most 1.5)\n",
                    reporter.seconds("BM_SaveSixtyMinutes") / baseline);
    return 0;
}
