#pragma once
// Shared pieces of the live graph panel tests: sessions on links of the
// tests' own shown in a host window with the live panel installed, the
// scenario's event buttons added before the panel is made, the save
// question answered from a list, and a recording ECG box.

#include "SessionTestKit.h"
#include "SessionWindowsReset.h"

#include "Database/ScenarioEventList.h"
#include "app/graphs/ToolBar.h"
#include "app/livepanel/LivePanelTemplate.h"
#include "app/livepanel/SessionGraphView.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindowSet.h"

#include <QApplication>
#include <QWidget>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace livepaneltest {

using Answer = SessionWindows::SaveAnswer;
using T = LivePanelTemplate;

// What the ECG boxes of the sessions did, by title.
struct EcgBoxLog {
    std::map<std::wstring, bool> visible;
    std::map<std::wstring, int> sent;
    std::map<std::wstring, std::vector<int>> rhythmSwitches;
};

class RecordingEcgBox final : public EcgBox {
public:
    RecordingEcgBox(EcgBoxLog& log, std::wstring title) : log_(log), title_(std::move(title)) {}
    void toggleVisible() override { log_.visible[title_] = !log_.visible[title_]; }
    void show() override { log_.visible[title_] = true; }
    void hide() override { log_.visible[title_] = false; }
    bool isVisible() const override { return log_.visible[title_]; }
    void sendToManikin() override { ++log_.sent[title_]; }
    void checkRhythmSwitch(int sampleIndex) override { log_.rhythmSwitches[title_].push_back(sampleIndex); }

private:
    EcgBoxLog& log_;
    std::wstring title_;
};

// The live panel installed for every session made while it lives; the save
// question answered from `answers` (then Cancel).
class ScopedLivePanel {
public:
    ScopedLivePanel()
    {
        SessionWindowSet::install();
        SessionGraphView::install();
        SessionWindowSet::setSaveQuestion([this](QWidget*, const std::wstring&, bool) {
            if (answers.empty())
                return Answer::Cancel;
            const Answer answer = answers.front();
            answers.pop_front();
            return answer;
        });
        SessionWindowSet::setEndSound([] {});
    }
    ~ScopedLivePanel()
    {
        SessionGraphView::setEcgBoxFactory({});
        SessionGraphView::setLowBatteryNotice({});
        sessiontest::uninstallSessionWindows();
    }
    ScopedLivePanel(const ScopedLivePanel&) = delete;
    ScopedLivePanel& operator=(const ScopedLivePanel&) = delete;

    void recordEcgBoxes(EcgBoxLog& log)
    {
        SessionGraphView::setEcgBoxFactory([&log](Session&, const std::wstring& title) {
            return std::make_unique<RecordingEcgBox>(log, title);
        });
    }

    std::deque<Answer> answers;
};

// The scenario's default event buttons, as a scenario without events of its
// own gets them, in the session's toolbar (before its panel exists).
inline void addDefaultEvents(Session& session)
{
    if (ToolBar* toolBar = session.getToolBar())
        for (const EventRecord& event : ScenarioEventList::defaultEvents(session.getRecord().Scenario))
            toolBar->add(ToolbarButton::fromEvent(event));
}

// The session's view made and shown in the host; the live panel with it.
inline SessionGraphView* showIn(Session& session, QWidget& host)
{
    SessionView* view = session.getSessionView() ? session.getSessionView() : session.createSessionView();
    if (!view)
        return nullptr;
    view->create(&host);
    view->setGeometry(host.rect());
    host.show();
    QApplication::processEvents();
    return dynamic_cast<SessionGraphView*>(session.windows().panel(SessionWindows::Panel::Graph, false));
}

// Steps the session n times (a fake link replays one sample a step).
inline void step(Session& session, int times)
{
    for (int i = 0; i < times; ++i)
        session.onTimer();
}

} // namespace livepaneltest
