#pragma once
// The demonstration station as an instructor starts it on a station just
// set up: the set-up's records (the two guidelines and the six built-in
// scenarios in a temporary "kovacpr" data source), the program started with
// "demo" and no COM port of its own, opening its records and installing its
// windows itself; its start-up search calibrates the recorded-data ports
// and gives way to New session. The station's clock runs twenty times as
// fast; "Save session?" is answered from the test's list (Yes once it is
// empty) and every question is written down.

#include "FreshErrorLog.h"
#include "SessionRecordsFixture.h"
#include "SessionWindowsReset.h"

#include "Database/CourseRecord.h"
#include "Database/SessionTable.h"
#include "app/courses/RunCourseDialog.h"
#include "app/livepanel/WindowedSessionManager.h"
#include "app/search/NewSessionDialog.h"
#include "app/sessions/SessionWindowSet.h"
#include "app/shell/CprTrainingApp.h"
#include "app/shell/DialogFrame.h"
#include "app/shell/MainCommands.h"
#include "app/shell/StationWindows.h"
#include "comm/ports/CalibrateManager.h"
#include "config/Configuration.h"
#include "platform/Beep.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace demostation {

// The system clock run twenty times as fast: a scenario's five minutes
// pass in fifteen seconds.
class FastClock final : public platform::Clock {
public:
    static constexpr std::uint32_t SPEED = 20;
    std::uint32_t tickCount() override { return start_ + (system_.tickCount() - start_) * SPEED; }
    void sleep(std::uint32_t milliseconds) override { system_.sleep(milliseconds / SPEED); }

private:
    platform::SystemClock system_;
    const std::uint32_t start_ = system_.tickCount();
};

class DemoStationFixture : public SessionRecordsFixture {
protected:
    void SetUp() override
    {
        SessionRecordsFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // The set-up's rows, and the program left to open its records itself.
        installSetUpRows();
        theDatabase.close();
        databaseOpen = false;
        CalibrateManager::destroy();
        Configuration::destroy();
        kovatest::startFreshErrorLog();
        // No COM port of the station's own; a box nobody expects is cancelled.
        ::setenv("KOVA_PORT_MAP", "", 1);
        asker.fallback = platform::IDCANCEL;
        platform::setBeepFunction([] {});
        SessionWindowSet::setSaveQuestion([this](QWidget*, const std::wstring& title, bool) {
            saveQuestions.push_back(title);
            if (saveAnswers.empty())
                return SessionWindows::SaveAnswer::Yes;
            const SessionWindows::SaveAnswer answer = saveAnswers.front();
            saveAnswers.pop_front();
            return answer;
        });
    }
    void TearDown() override
    {
        app.reset();
        sessiontest::uninstallSessionWindows();
        platform::setBeepFunction({});
        Configuration::destroy();
        CalibrateManager::destroy();
        LogStream::destroy();
        SessionRecordsFixture::TearDown();
    }

    // The program as it starts on the station; only the screen and the
    // metronome's sound are the test's.
    void startStation()
    {
        CprTrainingApp::Services s = StationWindows::services();
        s.screenHeight = [] { return 768; };
        s.fullScreenHeight = [] { return 738; };
        s.beatSound = [] {};
        s.stationDir = folder.path();
        app = std::make_unique<CprTrainingApp>("demo", std::move(s));
        ASSERT_TRUE(app->initInstance());
        ASSERT_TRUE(databaseOpen) << "the program opened the station's records";
        windowed = dynamic_cast<WindowedSessionManager*>(app->sessionManager());
        ASSERT_NE(windowed, nullptr);
        ASSERT_NE(app->newSessionFrame(), nullptr);
        dialog = static_cast<NewSessionDialog*>(app->newSessionFrame()->getHostedWindow());
        ASSERT_NE(dialog, nullptr);
    }

    // A planned course of one row, Bob's on manikin 249.
    CourseRecord plannedCourse()
    {
        CourseRecord course;
        course.instructor = "Ann";
        course.date = "2025-03-04";
        course.time = "09:00";
        course.defaultScenario = "5 minute BLS (AHA)";
        exec("INSERT INTO \"Person\" (\"Name\", \"Instructor\") VALUES ('Ann', 1)");
        exec("INSERT INTO \"Course\" (\"Instructor\", \"Date\", \"Time\", \"DefaultScenario\") VALUES (?, ?, ?, ?)",
             {course.instructor, course.date, course.time, course.defaultScenario});
        SessionRecord row;
        row.PersonVentilation = "Bob";
        row.PersonChestCompression = "Bob Jr";
        row.Scenario = course.defaultScenario;
        row.Duration = 300;
        row.Manikin = 249;
        row.StartTime = "09:02";
        row.EndTime = "09:07";
        std::vector<SessionRecord> rows{row};
        SessionTable table(theDatabase);
        table.open("");
        EXPECT_TRUE(table.deleteCourseSessions(course, rows));
        return course;
    }

    RunCourseDialog* runCourse() const
    {
        DialogFrame* frame = app->runCourseFrame();
        return frame ? static_cast<RunCourseDialog*>(frame->getHostedWindow()) : nullptr;
    }

    // The course's first row started from its '>': its session is `started`.
    void startCourseRow(Session*& started)
    {
        started = nullptr;
        RunCourseDialog* run = runCourse();
        ASSERT_NE(run, nullptr);
        qobject_cast<QAbstractButton*>(run->getDlgItem(RunCourseDialog::ROWS[0].play))->click();
        started = run->run().session(0);
        ASSERT_NE(started, nullptr);
    }

    QComboBox* box(int id) const { return qobject_cast<QComboBox*>(dialog->getDlgItem(id)); }
    QString shown(int id) const { return box(id)->currentText(); }
    // Chooses an entry of a list as the user does.
    void choose(int id, const QString& entry)
    {
        QComboBox* combo = box(id);
        const int index = combo->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
        QApplication::processEvents();
    }
    void typeInto(int id, const QString& typed)
    {
        QLineEdit* edit = box(id)->lineEdit();
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QApplication::processEvents();
    }
    // New session (File > New session when it is hidden), Continue on the
    // manikin chosen (say "USB 248"): the session it started is `started`.
    void continueOn(const QString& manikin, Session*& started)
    {
        started = nullptr;
        if (!app->newSessionFrame()->isVisible())
            app->onCommand(MainCommands::NEW_SESSION);
        ASSERT_TRUE(app->newSessionFrame()->isVisible());
        ASSERT_NO_FATAL_FAILURE(choose(NewSessionDialog::IDC_MANIKIN, manikin));
        const int before = windowed->getSessionCount();
        qobject_cast<QPushButton*>(dialog->getDlgItem(NewSessionDialog::IDC_CONTINUE))->click();
        ASSERT_EQ(windowed->getSessionCount(), before + 1) << manikin.toStdString();
        started = windowed->sessions().back();
    }

    // Windows that went are deleted (a window whose end takes others with it
    // has their deletion posted meanwhile), and the main window's timer
    // ticks: the sessions that went are deleted there and give their
    // manikins back.
    static void settle()
    {
        for (int round = 0; round < 2; ++round) {
            QApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QTest::qWait(100);
    }

    void saveScreenshot(const char* name)
    {
        QApplication::processEvents();
        const auto path = kovatest::binaryDir() / name;
        EXPECT_TRUE(app->mainFrame()->grab().save(QString::fromStdString(path.string()))) << name;
    }

    // The station's working folder, where it keeps its settings and its error log.
    kovatest::ScopedCwd inStation{folder.path()};
    FastClock fastTime;
    platform::ScopedClock fastClock{fastTime};
    std::deque<SessionWindows::SaveAnswer> saveAnswers;
    std::vector<std::wstring> saveQuestions;
    std::unique_ptr<CprTrainingApp> app;
    WindowedSessionManager* windowed = nullptr;
    NewSessionDialog* dialog = nullptr;
};

} // namespace demostation
