// The surveillance window as the station opens it from its Surveillance
// command: the windowed session manager's window in the main window, over
// the sessions' real live panels, whose ECG boxes the window shows and
// hides and which hear each defibrillation mark once.

#include "WindowedSessionsFixture.h"

#include "app/graphs/GraphView.h"
#include "app/shell/DialogFrame.h"
#include "app/shell/SessionFrame.h"
#include "app/surveillance/SurveillanceTile.h"
#include "app/surveillance/SurveillanceWindow.h"
#include "app/surveillance/sessionManagerMultiView.h"
#include "comm/reader/FrameParser.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>

using namespace livepaneltest;
using namespace sessiontest;

namespace {

class SurveillanceCommandTest : public WindowedSessionsFixture {
protected:
    void SetUp() override
    {
        installed.recordEcgBoxes(boxes);
        WindowedSessionsFixture::SetUp();
    }

    // A live session added to the manager, every fifth sample of its
    // manikin carrying the defibrillation mark; `ecg`: it sends ECG.
    Session* add(const std::string& title, bool ecg)
    {
        std::vector<ManikinSample> recording;
        for (int i = 0; i < 5; ++i)
            recording.push_back(ManikinSample{0, 0, i == 4 ? FrameParser::STATUS_ERROR66 : 0, 100 + 10 * i});
        return WindowedSessionsFixture::add(title, ecg, std::move(recording));
    }
    sessionManagerMultiView* view() const { return manager.surveillance() ? manager.surveillance()->view() : nullptr; }
};

TEST_F(SurveillanceCommandTest, opensOnceInTheMainWindowWithATilePerSession)
{
    add("Anna", true);
    manager.showSurveillance();
    EXPECT_EQ(beeps, 1) << "no main window yet";
    EXPECT_EQ(view(), nullptr);

    manager.setMdiClient(&mainWindow.client());
    add("Ben", false);
    manager.showSurveillance();
    ASSERT_TRUE(view());
    const QPointer<DialogFrame> frame = manager.surveillance()->frame();
    EXPECT_EQ(frame->windowTitle(), "Surveillance");
    ASSERT_EQ(view()->tiles().size(), 2u);
    EXPECT_TRUE(view()->tiles()[1]->isCreated());
    // Asked again: the same window.
    manager.showSurveillance();
    EXPECT_EQ(manager.surveillance()->frame(), frame.data());

    // Closing the session window ends every session; the surveillance
    // window goes with the last one, and is made anew when asked for.
    manager.showSessionWindow();
    installed.answers = {Answer::No, Answer::No};
    manager.sessionFrame()->close();
    settle();
    EXPECT_EQ(manager.getSessionCount(), 0);
    EXPECT_EQ(view(), nullptr);
    EXPECT_FALSE(frame);
    add("Cleo", false);
    manager.showSurveillance();
    ASSERT_TRUE(view());
    EXPECT_EQ(view()->tiles().size(), 1u);
}

TEST_F(SurveillanceCommandTest, theEcgBoxListDrivesTheLivePanelsBoxAndAMarkIsToldOnce)
{
    manager.setMdiClient(&mainWindow.client());
    Session* anna = add("Anna", true);
    add("Ben", true);
    manager.showSessionWindow();
    manager.showSurveillance();
    ASSERT_TRUE(view());
    auto* box = qobject_cast<QComboBox*>(view()->getDlgItem(sessionManagerMultiView::IDC_ECG_BOX));
    ASSERT_EQ(box->count(), 3);
    box->setCurrentIndex(2);
    EXPECT_TRUE(boxes.visible[L"Ben"]);
    EXPECT_FALSE(boxes.visible[L"Anna"]);
    box->setCurrentIndex(1);
    EXPECT_TRUE(boxes.visible[L"Anna"]);
    EXPECT_FALSE(boxes.visible[L"Ben"]);

    // Both the live panel and the tile draw Anna's curve: the marked
    // samples 4 and 9 reach her box once each.
    anna->start();
    step(*anna, 12);
    QApplication::processEvents();
    view()->tiles()[0]->ecgPane()->redrawAll();
    EXPECT_EQ(boxes.rhythmSwitches[L"Anna"], (std::vector<int>{4, 9}));
}

} // namespace
