// The course planner as the station installs it: the planner's own window
// behind the New-session window's seam, modal and without a parent, which
// tells whether it closed through "Run course...", and the session dialog
// behind a schedule row's "Details...".

#include "RecordDialogFixture.h"

#include "Database/course-planner/CoursePlannerDialog.h"
#include "Database/stored-sessions/SessionDialog.h"
#include "app/courses/CoursePlannerWindow.h"
#include "app/search/EditorSeams.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

class CoursePlannerSeam : public RecordDialogFixture {
protected:
    void TearDown() override
    {
        editorseams::setCoursePlannerFactory({});
        CoursePlannerDialog::setRunCourse({});
        CoursePlannerDialog::setRowDetails({});
        RecordDialogFixture::TearDown();
    }

    // Clicks a button of the modal window once it shows; answers the window.
    static void whenShownClick(int id, QWidget** shown)
    {
        QTimer::singleShot(0, [id, shown] {
            QWidget* window = QApplication::activeModalWidget();
            *shown = window;
            auto* planner = qobject_cast<CoursePlannerDialog*>(window);
            ASSERT_NE(planner, nullptr);
            auto* button = qobject_cast<QAbstractButton*>(planner->getDlgItem(id));
            ASSERT_NE(button, nullptr);
            button->click();
        });
    }
};

TEST_F(CoursePlannerSeam, theNewSessionButtonOpensThePlannerWhichTellsOfACourseRun)
{
    installCoursePlanner();
    QWidget* shown = nullptr;
    {
        auto planner = editorseams::makeCoursePlanner();
        whenShownClick(recordcontrols::CLOSE, &shown);
        planner->doModal();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->parentWidget(), nullptr);
        EXPECT_EQ(shown->windowTitle(), "Course planner");
        EXPECT_FALSE(planner->openedCourseRun());
    }

    std::string ran;
    CoursePlannerDialog::setRunCourse([&ran](const CourseRecord& course) { ran = course.instructor; });
    auto planner = editorseams::makeCoursePlanner();
    whenShownClick(9, &shown);
    planner->doModal();
    EXPECT_TRUE(planner->openedCourseRun());
    EXPECT_EQ(ran, "Instructor") << "the new course as it opened, stored first";
    EXPECT_EQ(count("Course"), 1);
}

TEST_F(CoursePlannerSeam, aRowsDetailsOpenTheSessionDialogAndTheRowTakesBackWhatItLeft)
{
    constexpr int INSTRUCTOR = 1028;
    const CoursePlannerDialog::RowControls& row = CoursePlannerDialog::ROWS[0];
    ScopedRecordTime now{2025, 3, 4, 9, 0};
    installCoursePlanner();
    CoursePlannerDialog planner;
    showActive(planner);
    qobject_cast<QComboBox*>(item(planner, INSTRUCTOR))->setEditText("Ann");
    planner.notifier().dispatch(INSTRUCTOR, kova::Notification::FocusLost);
    qobject_cast<QComboBox*>(item(planner, row.ventilation))->setEditText("Bob");
    qobject_cast<QComboBox*>(item(planner, row.compression))->setEditText("Cid");
    planner.notifier().dispatch(row.ventilation, kova::Notification::FocusLost);
    ASSERT_TRUE(enabled(planner, row.details)) << "installed at start-up";

    // Saved there: the row comes back with it, and the session is stored.
    bool opened = false;
    whenModalOpens([&](QWidget* modal) {
        auto* session = qobject_cast<SessionDialog*>(modal);
        ASSERT_NE(session, nullptr);
        opened = true;
        EXPECT_EQ(session->windowTitle(), "Session");
        EXPECT_EQ(text(*session, SessionDialog::VENTILATION), "Bob");
        type(*session, SessionDialog::NOTES, "Deeper, please");
        click(*session, recordcontrols::SAVE);
        click(*session, recordcontrols::CLOSE);
    });
    click(planner, row.details);
    ASSERT_TRUE(opened);
    EXPECT_EQ(planner.schedule().row(0).Note, "Deeper, please");
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"Deeper, please"}));

    // Left unsaved: the row keeps what the dialog opened on.
    asker.answers = {platform::IDNO};
    whenModalOpens([&](QWidget* modal) {
        auto* session = qobject_cast<SessionDialog*>(modal);
        ASSERT_NE(session, nullptr);
        type(*session, SessionDialog::NOTES, "Forgotten");
        click(*session, recordcontrols::CLOSE);
    });
    click(planner, row.details);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Session information was changed. Save the changes?");
    EXPECT_EQ(planner.schedule().row(0).Note, "Deeper, please");

    // A session that has been run may not be deleted from the planner.
    click(planner, recordcontrols::SAVE);
    exec("UPDATE \"Session\" SET \"Done\" = ?", {1LL});
    auto* quickFind = qobject_cast<QComboBox*>(item(planner, recordcontrols::QUICK_FIND));
    ASSERT_EQ(quickFind->count(), 1);
    quickFind->setCurrentIndex(0);
    Q_EMIT quickFind->activated(0);
    ASSERT_TRUE(planner.schedule().row(0).Done);
    bool deletable = true;
    whenModalOpens([&](QWidget* modal) {
        auto* session = qobject_cast<SessionDialog*>(modal);
        ASSERT_NE(session, nullptr);
        deletable = enabled(*session, recordcontrols::REMOVE);
        click(*session, recordcontrols::CLOSE);
    });
    click(planner, row.details);
    EXPECT_FALSE(deletable);
    EXPECT_EQ(count("Session"), 1);
}

// Looking at a stored row through "Details..." and leaving it, whichever way
// out, changes nothing: the planner asks nothing when it closes. A change
// saved there is the schedule's change.
TEST_F(CoursePlannerSeam, aRowLookedAtThroughDetailsIsNoChangeOfThePlan)
{
    constexpr int INSTRUCTOR = 1028;
    const CoursePlannerDialog::RowControls& row = CoursePlannerDialog::ROWS[0];
    ScopedRecordTime now{2025, 3, 4, 9, 0};
    installCoursePlanner();
    {
        CoursePlannerDialog planner;
        showActive(planner);
        qobject_cast<QComboBox*>(item(planner, INSTRUCTOR))->setEditText("Ann");
        planner.notifier().dispatch(INSTRUCTOR, kova::Notification::FocusLost);
        qobject_cast<QComboBox*>(item(planner, row.ventilation))->setEditText("Bob");
        qobject_cast<QComboBox*>(item(planner, row.compression))->setEditText("Cid");
        planner.notifier().dispatch(row.ventilation, kova::Notification::FocusLost);
        click(planner, recordcontrols::SAVE);
        ASSERT_EQ(count("Session"), 1);
    }
    // The saved course, opened as the user finds it.
    const auto openSavedCourse = [](CoursePlannerDialog& planner) {
        showActive(planner);
        auto* quickFind = qobject_cast<QComboBox*>(item(planner, recordcontrols::QUICK_FIND));
        ASSERT_EQ(quickFind->count(), 1);
        quickFind->setCurrentIndex(0);
        Q_EMIT quickFind->activated(0);
        ASSERT_EQ(planner.schedule().row(0).PersonVentilation, "Bob");
        ASSERT_FALSE(enabled(planner, recordcontrols::SAVE));
    };

    const std::pair<const char*, std::function<void(SessionDialog&)>> waysOut[] = {
        {"Close", [](SessionDialog& session) { click(session, recordcontrols::CLOSE); }},
        {"Escape",
         [](SessionDialog& session) {
             QWidget* focused = session.focusWidget();
             QTest::keyClick(focused ? focused : &session, Qt::Key_Escape);
         }},
        {"close box", [](SessionDialog& session) { session.close(); }},
    };
    for (const auto& [way, leave] : waysOut) {
        SCOPED_TRACE(way);
        CoursePlannerDialog planner;
        openSavedCourse(planner);
        bool opened = false;
        whenModalOpens([&](QWidget* modal) {
            auto* session = qobject_cast<SessionDialog*>(modal);
            ASSERT_NE(session, nullptr);
            opened = true;
            leave(*session);
            EXPECT_FALSE(session->isVisible());
        });
        click(planner, row.details);
        ASSERT_TRUE(opened);
        if (std::string(way) == "Close")
            saveScreenshot(planner, "course-planner-after-details");
        EXPECT_FALSE(planner.schedule().modified());
        EXPECT_FALSE(enabled(planner, recordcontrols::SAVE));
        EXPECT_FALSE(enabled(planner, recordcontrols::DISCARD));
        click(planner, recordcontrols::CLOSE);
        EXPECT_TRUE(asker.asked.empty()) << "nothing to save";
        EXPECT_FALSE(planner.isVisible());
        asker.asked.clear();
    }

    // A note saved there comes back as a change of the row.
    CoursePlannerDialog planner;
    openSavedCourse(planner);
    whenModalOpens([&](QWidget* modal) {
        auto* session = qobject_cast<SessionDialog*>(modal);
        ASSERT_NE(session, nullptr);
        type(*session, SessionDialog::NOTES, "Deeper, please");
        click(*session, recordcontrols::SAVE);
        click(*session, recordcontrols::CLOSE);
    });
    click(planner, row.details);
    EXPECT_TRUE(planner.schedule().modified());
    EXPECT_TRUE(enabled(planner, recordcontrols::SAVE));
    asker.answers = {platform::IDCANCEL};
    click(planner, recordcontrols::CLOSE);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, L"Course plan was changed. Save the changes?");
    EXPECT_TRUE(planner.isVisible());
}

} // namespace
