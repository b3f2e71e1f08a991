// Speed of the debriefing panel over a 60-minute live session at 50 samples
// per second, performed by the manikin simulator's performance generator and
// stepped through the session's own reader: the measurement store's
// evaluation alone, a whole refresh of the panel, and one keystroke in the
// recommendation box. Prints the ratios against the evaluation.

#include "HourOfPerformance.h"
#include "RatioReporter.h"
#include "PerformedSession.h"
#include "SessionTestKit.h"

#include "app/debriefing/DebriefReport.h"
#include "app/debriefing/SessionDebriefView.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindowSet.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace hourofperformance;

// A live session stepped through the whole performance, its debriefing shown.
struct DebriefedSession {
    sessiontest::LinkLog link;
    QWidget host;
    std::unique_ptr<Session> session;
    SessionDebriefView* panel = nullptr;
    QPlainTextEdit* box = nullptr;

    DebriefedSession()
    {
        SessionWindowSet::install();
        SessionDebriefView::install();
        SessionWindowSet::setEndSound([] {});
        link.port.recording = recordedSamples(plan(), static_cast<int>(SESSION_SAMPLES));
        SessionRecord record = sessiontest::liveRecord(-1, 3);
        record.TrainingMode = 0;
        session = sessiontest::liveSession(link, record, 3);
        host.resize(980, 620);
        session->createSessionView()->create(&host);
        session->getSessionView()->setGeometry(host.rect());
        host.show();
        session->start();
        while (session->getCommSession().manData.size() < SESSION_SAMPLES)
            session->onTimer();
        session->pause();
        session->setState(Session::DEBRIEF);
        panel = qobject_cast<SessionDebriefView*>(session->getSessionDebriefView());
        box = panel ? qobject_cast<QPlainTextEdit*>(panel->getDlgItem(SessionDebriefView::IDC_RECOMMENDATION)) : nullptr;
        if (!box)
            std::abort();
        box->setFocus();
    }
};

// Made on first use, gone before the application object.
std::unique_ptr<DebriefedSession> made;

DebriefedSession& debriefed()
{
    if (!made)
        made = std::make_unique<DebriefedSession>();
    return *made;
}

void BM_Evaluate(benchmark::State& state)
{
    CommSession& data = debriefed().session->getCommSession();
    for (auto _ : state) {
        data.evaluate();
        benchmark::DoNotOptimize(data.getNrCompressions());
    }
    state.counters["compressions"] = data.getNrCompressions();
}

void BM_RefreshEvaluation(benchmark::State& state)
{
    SessionDebriefView& panel = *debriefed().panel;
    for (auto _ : state)
        panel.refreshEvaluation();
}

// Two keystrokes an iteration, a letter and its erasure, so the box keeps its length.
void BM_Keystroke(benchmark::State& state)
{
    DebriefedSession& d = debriefed();
    const int evaluations = d.panel->debriefReport()->evaluations();
    for (auto _ : state) {
        QTest::keyClick(d.box, Qt::Key_A);
        QTest::keyClick(d.box, Qt::Key_Backspace);
    }
    if (d.panel->debriefReport()->evaluations() != evaluations)
        state.SkipWithError("a keystroke evaluated the session again");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 2));
}

BENCHMARK(BM_Evaluate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshEvaluation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    RatioReporter reporter;
    const bool ran = reporter.run(argc, argv);
    made.reset();
    if (!ran)
        return 1;
    // Processor time: the three run in one thread, and other builds on the
    // machine stretch the wall clock unevenly.
    const double evaluate = reporter.cpuSeconds("BM_Evaluate");
    if (evaluate > 0) {
        std::printf("refreshEvaluation / evaluate: %.3f (target at most 1.1)\n",
                    reporter.cpuSeconds("BM_RefreshEvaluation") / evaluate);
        std::printf("keystroke / evaluate: %.4f (target at most 0.02)\n",
                    reporter.cpuSeconds("BM_Keystroke") / 2 / evaluate);
    }
    return 0;
}
