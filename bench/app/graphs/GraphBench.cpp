// The graph panes' speed: (a) a full redraw of a pane showing one hour at 50
// samples a second into a 1600 x 300 back buffer, against (b) the same points
// drawn as one polyline into the same image, and (c) one live tick of 16
// sessions with three panes each, every pane drawing its new sample.
// Targets: (a) within 3 times (b); (c) under 10 % of the 20 ms tick.

#include "app/graphs/AxisCtrl.h"
#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphSource.h"
#include "app/graphs/GraphView.h"

#include "GraphTestSession.h"
#include "RatioReporter.h"
#include "config/AlgorithmRecord.h"
#include "manikin-sim/PerformanceGenerator.h"

#include <QApplication>
#include <QPainter>
#include <QPolygon>

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr double RATE = 50.0;
constexpr int HOUR = 180000;
constexpr int PLOT_WIDTH = 1600;
constexpr int PLOT_HEIGHT = 300;
constexpr int SESSIONS = 16;

// A trainee's compressions and ventilations as the store keeps them.
void fillPerformance(CommSession& data, int samples, std::uint32_t seed)
{
    manikinsim::PerformancePlan plan;
    plan.sampleRate = 50;
    plan.seed = seed;
    plan.restCompression = plan.restVentilation = 0;
    plan.scale = manikinsim::CountScale::framedKind3or4();
    manikinsim::PerformanceGenerator generator(plan);
    data.manData.reserve(data.manData.size() + static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        const manikinsim::PerformanceSample sample = generator.next();
        Measurement m;
        m.depth = sample.compression / plan.scale.countsPerMm;
        m.volume = sample.ventilation / plan.scale.countsPerLitre;
        m.ecg = sample.ecg;
        data.manData.push_back(m);
    }
}

// One session with its three panes on one axis in a window.
struct SessionGraphs {
    SessionGraphs(int samples, int paneWidth, int paneHeight, std::uint32_t seed) : session(RATE)
    {
        fillPerformance(session.data, samples, seed);
        session.running = true;
        axis = new AxisCtrl(session, nullptr);
        axis->Create(&window);
        int top = 0;
        for (GraphDoc* doc : {&ventilationDoc, &compressionDoc, &ecgDoc}) {
            GraphView* pane = GraphView::createView(*doc);
            pane->setEcgStyle(doc == &ecgDoc);
            pane->Create(&window);
            pane->setAxisCtrl(axis);
            // The frame takes two pixels on each side.
            pane->setGeometry(0, top, paneWidth + 4, paneHeight + 4);
            top += paneHeight + 4;
            panes.push_back(pane);
        }
        axis->setGeometry(2, top, paneWidth, 20);
        window.resize(paneWidth + 4, top + 20);
        window.show();
        axis->join();
    }

    AlgorithmRecord algorithm;
    graphtest::TestSession session;
    GraphSource ventilationSource = GraphSource::ventilation(session.data, algorithm);
    GraphSource compressionSource = GraphSource::compression(session.data, algorithm);
    GraphSource ecgSource = GraphSource::ecg(session.data, algorithm);
    GraphDoc ventilationDoc{ventilationSource};
    GraphDoc compressionDoc{compressionSource};
    GraphDoc ecgDoc{ecgSource};
    QWidget window;
    AxisCtrl* axis = nullptr;
    std::vector<GraphView*> panes;
};

void BM_FullRedrawOfAnHour(benchmark::State& state)
{
    SessionGraphs graphs(HOUR, PLOT_WIDTH, PLOT_HEIGHT, 1);
    graphs.axis->catchUp();
    graphs.axis->setView(0, HOUR);
    GraphView* compression = graphs.panes[1];
    for (auto _ : state) {
        compression->drawBackground();
        benchmark::DoNotOptimize(compression->backBuffer().constBits());
    }
    state.counters["samples"] = HOUR;
}

void BM_PolylineOfTheSamePoints(benchmark::State& state)
{
    SessionGraphs graphs(HOUR, PLOT_WIDTH, PLOT_HEIGHT, 1);
    graphs.axis->catchUp();
    graphs.axis->setView(0, HOUR);
    GraphView* compression = graphs.panes[1];
    QPolygon points;
    points.reserve(HOUR);
    for (int i = 0; i < HOUR; ++i)
        points.append(QPoint(compression->xOfIndex(i), compression->yOfValue(graphs.session.data.manData[i].depth)));
    QImage image(PLOT_WIDTH, PLOT_HEIGHT, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setPen(QPen(QColor(200, 50, 50), 1));
        painter.drawPolyline(points);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_LiveTickOfSixteenSessions(benchmark::State& state)
{
    std::vector<std::unique_ptr<SessionGraphs>> sessions;
    for (int i = 0; i < SESSIONS; ++i) {
        sessions.push_back(std::make_unique<SessionGraphs>(3000, 700, 120, static_cast<std::uint32_t>(i + 1)));
        // The samples arrive one a tick from here on.
        sessions.back()->session.data.manData.resize(1);
    }
    std::vector<CommSession> recordings(SESSIONS);
    for (int i = 0; i < SESSIONS; ++i)
        fillPerformance(recordings[static_cast<std::size_t>(i)], 200000, static_cast<std::uint32_t>(i + 1));
    std::size_t next = 1;
    for (auto _ : state) {
        for (int i = 0; i < SESSIONS; ++i) {
            SessionGraphs& graphs = *sessions[static_cast<std::size_t>(i)];
            graphs.session.data.manData.push_back(recordings[static_cast<std::size_t>(i)].manData[next % 200000]);
            graphs.session.publish();
        }
        ++next;
    }
    state.counters["panes"] = SESSIONS * 3;
}

BENCHMARK(BM_FullRedrawOfAnHour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolylineOfTheSamePoints)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveTickOfSixteenSessions)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    RatioReporter reporter;
    if (!reporter.run(argc, argv))
        return 1;

    const auto time = [&](const char* name) { return reporter.seconds(name); };
    const double polyline = time("BM_PolylineOfTheSamePoints");
    if (polyline > 0)
        std::printf("full redraw / polyline: %.2f (target at most 3)\n", time("BM_FullRedrawOfAnHour") / polyline);
    const double tick = time("BM_LiveTickOfSixteenSessions");
    if (tick > 0)
        std::printf("live tick of %d sessions: %.1f %% of 20 ms (target under 10 %%)\n", SESSIONS, tick / 0.020 * 100);
    return 0;
}
