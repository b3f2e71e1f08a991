// The course planner as the New-session window opens it through its seam:
// the planner's own window, modal and without a parent, which tells whether
// it closed through "Run course...".

#include "TablesFixture.h"

#include "Database/CoursePlannerDialog.h"
#include "app/CoursePlannerWindow.h"
#include "app/EditorSeams.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class CoursePlannerSeam : public TablesFixture {
protected:
    void TearDown() override
    {
        editorseams::setCoursePlannerFactory({});
        CoursePlannerDialog::setRunCourse({});
        TablesFixture::TearDown();
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

} // namespace
