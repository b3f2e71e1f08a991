// The station after its last session, on every road to that end: the
// debriefing's Close, the live panel's Abort, the session window's close
// box answered Yes or No (Cancel keeps the session), two sessions closed at
// once, and a course's session ended from its row, its session window or
// its debriefing. The session window and the surveillance window go with
// the last session, and the station comes back to New session, or to the
// Run-course window while a course runs. The demonstration station walks
// the roads one after the other; it saves <build>/after-last-session.png
// and <build>/after-last-course-session.png for a person to look at.

#include "DemoStationFixture.h"

#include "Database/CourseRecord.h"
#include "Database/SessionTable.h"
#include "app/courses/RunCourseDialog.h"
#include "app/debriefing/SessionDebriefView.h"
#include "app/livepanel/SessionGraphView.h"
#include "app/sessions/Session.h"
#include "app/shell/MainCommands.h"
#include "app/shell/SessionFrame.h"
#include "app/surveillance/SurveillanceWindow.h"
#include "controls/MdiClientWnd.h"
#include "Rodezir/dialogs/DialogItem.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPointer>

#include <functional>

namespace {

using Answer = SessionWindows::SaveAnswer;

class LastSessionRoads : public demostation::DemoStationFixture {
public:
    using DemoStationFixture::runCourse;

    static void click(const QWidget* window, int id)
    {
        auto* button = qobject_cast<QAbstractButton*>(window ? kova::getDlgItem(window, id) : nullptr);
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }
    static void closeFromDebriefing(Session& session)
    {
        session.onEnd();
        session.setState(Session::DEBRIEF);
        click(dynamic_cast<SessionDebriefView*>(session.getSessionDebriefView()), SessionDebriefView::IDC_ABORT);
    }
    static void abortLivePanel(Session& session)
    {
        click(dynamic_cast<SessionGraphView*>(session.getSessionGraphView()), kova::IDCANCEL);
    }
    void closeSessionWindow() { windowed->sessionFrame()->close(); }

    bool surveillanceShown() const
    {
        return windowed->surveillance() && windowed->surveillance()->frame()
            && windowed->surveillance()->frame()->isVisible();
    }
    bool shows(const DialogFrame* frame) const { return frame && frame->isVisible(); }
};

TEST_F(LastSessionRoads, theLastSessionsEndTakesItsWindowsAndBringsBackNewSessionOrTheRunningCourse)
{
    ASSERT_NO_FATAL_FAILURE(startStation());
    const CourseRecord course = plannedCourse();

    struct Road {
        const char* what;
        // Started from the course's row, else from New session on the manikins.
        bool course;
        std::vector<const char*> manikins;
        // To "Save session?", in order.
        std::vector<Answer> answers;
        std::function<void(LastSessionRoads&, Session&)> end;
        // The session stays (Cancel).
        bool kept = false;
    };
    const Road roads[] = {
        {"the debriefing's Close, Yes", false, {"USB 247"}, {Answer::Yes},
         [](LastSessionRoads&, Session& s) { closeFromDebriefing(s); }},
        {"the live panel's Abort, No", false, {"USB 247"}, {Answer::No},
         [](LastSessionRoads&, Session& s) { abortLivePanel(s); }},
        {"the session window's close box, No", false, {"USB 247"}, {Answer::No},
         [](LastSessionRoads& t, Session&) { t.closeSessionWindow(); }},
        {"the session window's close box, Yes", false, {"USB 247"}, {Answer::Yes},
         [](LastSessionRoads& t, Session&) { t.closeSessionWindow(); }},
        {"the session window's close box, Cancel", false, {"USB 247"}, {Answer::Cancel},
         [](LastSessionRoads& t, Session&) { t.closeSessionWindow(); }, true},
        {"the session window's close box over two sessions, No and No", false, {"USB 247", "USB 248"},
         {Answer::No, Answer::No}, [](LastSessionRoads& t, Session&) { t.closeSessionWindow(); }},
        {"a course's session, its debriefing's Close, No", true, {}, {Answer::No},
         [](LastSessionRoads&, Session& s) { closeFromDebriefing(s); }},
        {"a course's session, the session window's close box, No", true, {}, {Answer::No},
         [](LastSessionRoads& t, Session&) { t.closeSessionWindow(); }},
        {"a course's row removed, No", true, {}, {Answer::No},
         [](LastSessionRoads& t, Session&) {
             RunCourseDialog* run = t.runCourse();
             run->getDlgItem(RunCourseDialog::ROWS[0].number)->setFocus();
             QApplication::processEvents();
             run->removeRow();
         }},
    };

    bool courseShown = false;
    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        Session* last = nullptr;
        if (road.course) {
            app->newSessionFrame()->hideFrame();
            app->openRunCourse(std::make_unique<RunCourseDialog>(course));
            ASSERT_NO_FATAL_FAILURE(startCourseRow(last));
        } else {
            for (const char* manikin : road.manikins)
                ASSERT_NO_FATAL_FAILURE(continueOn(manikin, last));
        }
        ASSERT_NE(windowed->sessionFrame(), nullptr);
        ASSERT_TRUE(app->onCommand(MainCommands::SURVEILLANCE));
        ASSERT_TRUE(surveillanceShown());
        const QPointer<SessionFrame> sessionWindow = windowed->sessionFrame();
        const QPointer<DialogFrame> surveillance = windowed->surveillance()->frame();
        const std::size_t asked = saveQuestions.size();

        saveAnswers.assign(road.answers.begin(), road.answers.end());
        road.end(*this, *last);
        settle();
        EXPECT_EQ(saveQuestions.size(), asked + road.answers.size());
        EXPECT_TRUE(saveAnswers.empty());

        if (road.kept) {
            EXPECT_EQ(windowed->getSessionCount(), 1);
            EXPECT_TRUE(sessionWindow && sessionWindow->isVisible());
            EXPECT_TRUE(surveillance && surveillance->isVisible());
            EXPECT_FALSE(shows(app->newSessionFrame()));
            // The next road begins where this one ends: the session is let go.
            last->destroyViews();
            settle();
            ASSERT_TRUE(shows(app->newSessionFrame()));
            continue;
        }
        EXPECT_EQ(windowed->getSessionCount(), 0);
        EXPECT_FALSE(sessionWindow) << "the session window went";
        EXPECT_FALSE(surveillance) << "the surveillance window went with the last session";
        EXPECT_FALSE(surveillanceShown());
        if (road.course) {
            EXPECT_TRUE(shows(app->runCourseFrame())) << "the course's window came back";
            EXPECT_FALSE(shows(app->newSessionFrame()));
            EXPECT_EQ(app->mainFrame()->mdiClient()->activeSubWindow(), app->runCourseFrame());
            if (!courseShown) {
                saveScreenshot("after-last-course-session.png");
                courseShown = true;
            }
            // Its Close goes on to New session, where the next road begins.
            click(runCourse(), RunCourseDialog::CLOSE);
            settle();
            EXPECT_EQ(app->runCourseFrame(), nullptr);
        } else {
            EXPECT_EQ(app->mainFrame()->mdiClient()->activeSubWindow(), app->newSessionFrame());
        }
        ASSERT_TRUE(shows(app->newSessionFrame())) << "New session came back";
    }
    saveScreenshot("after-last-session.png");
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(kovatest::errorLog().find("Assert failed"), std::string::npos) << kovatest::errorLog();
}

} // namespace
