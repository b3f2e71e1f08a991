// The session window closed by its frame's close box on a real X display
// with a window manager, as an instructor does it: a real click on the
// close box, and a real click on the answer of "Save session?". Cancel keeps
// the session and its windows; No and Yes end it, the session window and the
// surveillance window go, and New session comes back in front. The
// keyboard's Ctrl+F4 closes the window the same way. The Run-course window's
// close box and Ctrl+F4 end it as its Close does: its running row's session
// is asked about, its rows are written and New session comes in front. Run
// through tests/support/in-x-display; it saves <build>/close-box-x.png (the
// question over the session window), <build>/after-close-box-x.png (the
// station after the last session), <build>/run-course-close-box-x.png (the
// question over the Run-course window) and
// <build>/after-run-course-close-box-x.png (the station after it), screenshots
// of the display.

#include "DemoStationFixture.h"

#include "Database/SessionTable.h"
#include "app/courses/RunCourseDialog.h"
#include "app/sessions/Session.h"
#include "app/sessions/SessionPanel.h"
#include "app/shell/MainCommands.h"
#include "app/shell/SaveSessionDialog.h"
#include "app/shell/SessionFrame.h"
#include "app/surveillance/SurveillanceWindow.h"
#include "controls/MdiClientWnd.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QWindow>

namespace {

using Answer = SessionWindows::SaveAnswer;

bool xdotool(const QStringList& arguments) { return QProcess::execute("xdotool", arguments) == 0; }

// A real click of the left button at a point of the screen.
bool clickAt(const QPoint& global)
{
    return xdotool({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y()), "click", "1"});
}

// Where the frame's style draws the close box of its title bar, on the screen.
QPoint closeBoxOf(QMdiSubWindow& frame)
{
    QStyleOptionTitleBar option;
    option.initFrom(&frame);
    option.text = frame.windowTitle();
    option.titleBarFlags = frame.windowFlags();
    option.subControls = QStyle::SC_All;
    option.titleBarState = Qt::WindowActive;
    option.state |= QStyle::State_Active;
    QStyle* style = frame.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &frame);
    const int height = style->pixelMetric(QStyle::PM_TitleBarHeight, &option, &frame);
    option.rect = QRect(border, border, frame.width() - 2 * border, height);
    const QRect box = style->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarCloseButton, &frame);
    return frame.mapToGlobal(box.center());
}

void saveScreen(const char* name)
{
    const auto path = kovatest::binaryDir() / name;
    EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(path.string()))) << name;
}

class LastSessionInXDisplay : public demostation::DemoStationFixture {
protected:
    void SetUp() override
    {
        DemoStationFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // The station's own "Save session?", answered by a real click.
        SessionWindowSet::setSaveQuestion({});
        ASSERT_NO_FATAL_FAILURE(startStation());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->mainFrame()));
        app->mainFrame()->activateWindow();
        QTest::qWait(300);
    }

    // Clicks the answer's button once the question is up; what was seen.
    // The watch polls and never waits itself: the question opens in a loop
    // of its own, inside whatever handles the click that asked it.
    struct Question {
        bool shown = false;
        bool overTheSessionWindow = false;
        bool answered = false;
    };
    void answerWhenAsked(Answer answer, Question& seen, const char* screenshot)
    {
        watch_ = std::make_unique<QTimer>();
        QObject::connect(watch_.get(), &QTimer::timeout, [this, answer, &seen, screenshot] {
            auto* question = qobject_cast<SaveSessionDialog*>(QApplication::activeModalWidget());
            if (!question || !question->windowHandle() || !question->windowHandle()->isExposed())
                return;
            watch_->stop();
            seen.shown = true;
            // The window manager has framed and placed it.
            QTest::qWait(300);
            seen.overTheSessionWindow = windowed->sessionFrame() && windowed->sessionFrame()->isVisible();
            if (screenshot)
                saveScreen(screenshot);
            const int id = answer == Answer::Yes ? SaveSessionDialog::IDC_YES
                : answer == Answer::No           ? SaveSessionDialog::IDC_NO
                                                 : SaveSessionDialog::IDC_CANCEL;
            if (QWidget* button = question->getDlgItem(id))
                seen.answered = clickAt(button->mapToGlobal(button->rect().center()));
        });
        watch_->start(100);
    }

    bool surveillanceShown() const
    {
        return windowed->surveillance() && windowed->surveillance()->frame()
            && windowed->surveillance()->frame()->isVisible();
    }

    std::unique_ptr<QTimer> watch_;
};

TEST_F(LastSessionInXDisplay, theCloseBoxAnsweredNoOrYesBringsBackNewSessionAndCancelKeepsTheSession)
{
    struct Road {
        const char* what;
        Answer answer;
        bool byKeyboard;
        const char* screenshot;
    };
    const Road roads[] = {
        {"the close box, Cancel", Answer::Cancel, false, nullptr},
        {"the close box, No", Answer::No, false, "close-box-x.png"},
        {"the close box, Yes", Answer::Yes, false, nullptr},
        {"Ctrl+F4, No", Answer::No, true, nullptr},
    };
    Session* session = nullptr;
    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        if (!session) {
            ASSERT_NO_FATAL_FAILURE(continueOn("USB 247", session));
            ASSERT_TRUE(app->onCommand(MainCommands::SURVEILLANCE));
            // The session window in front, where the instructor closes it.
            windowed->showSession(session);
        }
        QTest::qWait(300);
        const QPointer<SessionFrame> sessionWindow = windowed->sessionFrame();
        ASSERT_TRUE(sessionWindow && sessionWindow->isVisible());
        ASSERT_TRUE(surveillanceShown());

        Question seen;
        answerWhenAsked(road.answer, seen, road.screenshot);
        if (road.byKeyboard) {
            sessionWindow->widget()->setFocus();
            QTest::qWait(200);
            EXPECT_TRUE(xdotool({"key", "--clearmodifiers", "ctrl+F4"}));
        } else {
            EXPECT_TRUE(clickAt(closeBoxOf(*sessionWindow)));
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return seen.answered && !QApplication::activeModalWidget(); }, 15000));
        EXPECT_TRUE(seen.overTheSessionWindow);
        settle();

        if (road.answer == Answer::Cancel) {
            EXPECT_EQ(windowed->getSessionCount(), 1);
            EXPECT_TRUE(sessionWindow && sessionWindow->isVisible());
            EXPECT_TRUE(surveillanceShown());
            EXPECT_FALSE(app->newSessionFrame()->isVisible());
            continue;
        }
        session = nullptr;
        EXPECT_EQ(windowed->getSessionCount(), 0);
        EXPECT_FALSE(sessionWindow) << "the session window went";
        EXPECT_FALSE(surveillanceShown()) << "the surveillance window went with the last session";
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->newSessionFrame()->isVisible(); }, 5000)) << "New session came back";
        EXPECT_EQ(app->mainFrame()->mdiClient()->activeSubWindow(), app->newSessionFrame());
        if (road.answer == Answer::No && !road.byKeyboard) {
            QTest::qWait(300);
            saveScreen("after-close-box-x.png");
        }
    }
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(kovatest::errorLog().find("Assert failed"), std::string::npos) << kovatest::errorLog();
}

TEST_F(LastSessionInXDisplay, theRunCourseWindowsCloseBoxAndCtrlF4GoOnToNewSessionAsItsCloseDoes)
{
    const CourseRecord course = plannedCourse();
    struct Road {
        const char* what;
        bool byKeyboard;
        // The course's row runs a session, which "Save session?" is asked about.
        bool rowRunning;
        const char* screenshot;
    };
    const Road roads[] = {
        {"the close box over a running row, No", false, true, "after-run-course-close-box-x.png"},
        {"the close box", false, false, nullptr},
        {"Ctrl+F4", true, false, nullptr},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        app->newSessionFrame()->hideFrame();
        app->openRunCourse(std::make_unique<RunCourseDialog>(course));
        const QPointer<DialogFrame> runCourseWindow = app->runCourseFrame();
        ASSERT_TRUE(runCourseWindow);
        Session* session = nullptr;
        if (road.rowRunning) {
            ASSERT_NO_FATAL_FAILURE(startCourseRow(session));
        }
        // The Run-course window in front, where the instructor closes it.
        runCourseWindow->showFrame();
        QTest::qWait(300);
        ASSERT_TRUE(runCourseWindow->isVisible());
        ASSERT_EQ(app->mainFrame()->mdiClient()->activeSubWindow(), runCourseWindow.data());

        Question seen;
        if (road.rowRunning)
            answerWhenAsked(Answer::No, seen, "run-course-close-box-x.png");
        if (road.byKeyboard) {
            runCourse()->getDlgItem(RunCourseDialog::ROWS[0].ventilation)->setFocus();
            QTest::qWait(200);
            EXPECT_TRUE(xdotool({"key", "--clearmodifiers", "ctrl+F4"}));
        } else {
            EXPECT_TRUE(clickAt(closeBoxOf(*runCourseWindow)));
        }
        if (road.rowRunning) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return seen.answered && !QApplication::activeModalWidget(); }, 15000));
        }
        watch_.reset();
        settle();

        EXPECT_FALSE(runCourseWindow) << "the Run-course window went";
        EXPECT_EQ(app->runCourseFrame(), nullptr);
        EXPECT_EQ(windowed->getSessionCount(), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->newSessionFrame()->isVisible(); }, 5000)) << "New session came";
        EXPECT_EQ(app->mainFrame()->mdiClient()->activeSubWindow(), app->newSessionFrame());
        SessionTable table(theDatabase);
        table.open("");
        const std::vector<SessionRecord> rows = table.findCourseSessions(course.getKey());
        ASSERT_EQ(rows.size(), 1u) << "the course's rows were written, the blank one left out";
        EXPECT_EQ(rows[0].PersonVentilation, "Bob");
        if (road.screenshot) {
            QTest::qWait(300);
            saveScreen(road.screenshot);
        }
    }
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(kovatest::errorLog().find("Assert failed"), std::string::npos) << kovatest::errorLog();
}

} // namespace
