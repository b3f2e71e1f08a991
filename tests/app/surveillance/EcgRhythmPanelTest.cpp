// The ECG rhythm panel's window: hidden until its owner shows it, its lamps
// clicked with the mouse against the simulated manikin on a pseudo-terminal,
// the caption lines from the English catalog, and a picture of it.

#include "../../comm/LinkTestSupport.h"

#include "TempDir.h"
#include "app/surveillance/EcgRhythmPanel.h"
#include "comm/link/SerialPort.h"
#include "gettext/Gettext.h"
#include "platform/Resources.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

using manikinsim::ReceivedFrame;
using Frames = std::vector<ReceivedFrame>;
using S = EcgRhythmState;

namespace {

using namespace linktest;

class EcgRhythmPanelWindow : public ::testing::Test, protected ComPortManikin {
protected:
    void SetUp() override
    {
        manikinsim::SimulatorOptions options;
        options.kind = 4;
        ASSERT_NO_FATAL_FAILURE(startManikin(options));
        ASSERT_TRUE(Gettext::instance().setCatalog(KOVA_CATALOGS "/en.mo"));
    }
    void TearDown() override { Gettext::instance().setCatalog(""); }

    // A mouse event at the middle of the lamp's dot, at a time of the test's choosing.
    static void deliver(QWidget* lamp, QEvent::Type type, quint64 timestamp)
    {
        const QPointF at(lamp->width() / 2.0, 3);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, lamp->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        event.setTimestamp(timestamp);
        QApplication::sendEvent(lamp, &event);
    }

    static QImage shown(EcgRhythmPanel& panel, int buttonId)
    {
        return qobject_cast<QLabel*>(panel.getDlgItem(buttonId))->pixmap().toImage();
    }
    static QImage resource(int id)
    {
        const auto bytes = platform::loadResource(platform::ResourceType::Bitmap, id);
        return bytes ? QImage::fromData(bytes->data(), static_cast<int>(bytes->size())) : QImage();
    }
};

TEST_F(EcgRhythmPanelWindow, startsHiddenAndTogglesWithItsOwnersButton)
{
    EcgRhythmPanel panel(&port, L"Session 1");
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(panel.windowTitle(), "Session 1");
    EXPECT_EQ(panel.parentWidget(), nullptr);
    EXPECT_TRUE(panel.timer().isActive());
    EXPECT_EQ(panel.timer().interval(), 500);
    panel.toggleVisible();
    EXPECT_TRUE(panel.isVisible());
    panel.toggleVisible();
    EXPECT_FALSE(panel.isVisible());
}

TEST_F(EcgRhythmPanelWindow, captionLinesComeFromTheCatalog)
{
    EcgRhythmPanel panel(&port, L"Session 1");
    const std::pair<int, const char*> lines[] = {
        {1442, "NORMAL"}, {1470, "SINUS"}, {1482, "ASYST."}, {1483, " "}, {1506, "JUNCT."}, {1507, "RYTHM"},
        {1532, "PULSE"},  {1533, "ON/OFF"}, {1536, "CHANGE"}, {1537, "RHYTHM"},
    };
    for (const auto& [id, text] : lines)
        EXPECT_EQ(panel.getDlgItemText(id).toStdString(), text) << id;
    // Every one of the 64 lines has its entry.
    for (const S::Button& button : S::buttons())
        for (const int line : {button.line1, button.line2})
            EXPECT_FALSE(panel.getDlgItemText(line).contains("LINE")) << line;
}

TEST_F(EcgRhythmPanelWindow, clicksOnLampsAndCaptionsDriveTheManikin)
{
    EcgRhythmPanel panel(&port, L"Session 1");
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    EXPECT_EQ(shown(panel, S::rhythmButtonId(1)), resource(S::PICTURE_SELECTED));
    EXPECT_EQ(shown(panel, S::ID_SWOP_RHYTHMS), resource(S::PICTURE_NONE));

    QWidget* five = panel.getDlgItem(S::rhythmButtonId(5));
    QTest::mouseClick(five, Qt::LeftButton, {}, QPoint(five->width() / 2, 3));
    EXPECT_EQ(shown(panel, S::rhythmButtonId(5)), resource(S::PICTURE_SELECTED));
    // A click on a caption line reaches the lamp beneath it; a double click
    // counts once.
    QWidget* tremorLine = panel.getDlgItem(1526);
    QTest::mouseClick(panel.childAt(tremorLine->geometry().center()), Qt::LeftButton, {},
                      panel.childAt(tremorLine->geometry().center())->mapFrom(&panel, tremorLine->geometry().center()));
    EXPECT_EQ(shown(panel, S::ID_MUSCLE_TREMOR), resource(S::PICTURE_ACTIVE));
    QWidget* change = panel.getDlgItem(S::ID_CHANGE_RHYTHM);
    const std::pair<QEvent::Type, quint64> doubleClick[] = {
        {QEvent::MouseButtonPress, 1000}, {QEvent::MouseButtonRelease, 1010}, {QEvent::MouseButtonPress, 1100},
        {QEvent::MouseButtonDblClick, 1100}, {QEvent::MouseButtonRelease, 1110}};
    for (const auto& [type, time] : doubleClick)
        deliver(change, type, time);
    // A click of its own once the double click is over.
    deliver(change, QEvent::MouseButtonPress, 5000);
    deliver(change, QEvent::MouseButtonRelease, 5010);
    EXPECT_EQ(sent(4), (Frames{{22, {1, 5}}, {27, {1}}, {22, {5, 5}}, {22, {5, 5}}}));

    // Blinking is the timer's: the next rhythm goes dark and lights again.
    panel.state().click(S::rhythmButtonId(8));
    panel.onTimer();
    panel.onTimer();
    EXPECT_EQ(shown(panel, S::rhythmButtonId(8)), resource(S::PICTURE_NORMAL));
    panel.onTimer();
    EXPECT_EQ(shown(panel, S::rhythmButtonId(8)), resource(S::PICTURE_SELECTED));
}

TEST_F(EcgRhythmPanelWindow, pictureOfThePanel)
{
    EcgRhythmPanel panel(&port, L"Session 1");
    panel.state().click(S::rhythmButtonId(7));
    panel.state().click(S::ID_PULSE);
    panel.state().click(S::ID_LOOSE_ELECTRODES);
    panel.onTimer();
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QTest::qWait(20);
    // Every caption line fits its width.
    for (const S::Button& button : S::buttons()) {
        for (const int line : {button.line1, button.line2}) {
            auto* label = qobject_cast<QLabel*>(panel.getDlgItem(line));
            ASSERT_TRUE(label);
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << button.name;
        }
    }
    const auto path = kovatest::binaryDir() / "ecg-rhythm-panel.png";
    ASSERT_TRUE(panel.grab().save(QString::fromStdString(path.string())));
}

} // namespace
