#include "app/shell/ToolTipAnswer.h"

#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/MenuBuilder.h"
#include "app/shell/DialogFrame.h"
#include "app/shell/idMap.h"
#include "TempDir.h"
#include "TestMainWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr int ID_START = 1018;
constexpr int ID_ABORT = 2;
constexpr int ID_WITHOUT_TEXT = 1099;
constexpr int ID_LONG = 1001;

// A session panel with its buttons, inside a window that shows the table's tooltips.
class Panel : public ::testing::Test {
protected:
    Panel()
    {
        ToolTipAnswer::install(*qApp);
        idMap::clear();
        idMap::fill();
        auto* layout = new QVBoxLayout(&panel);
        for (const auto& [id, text] : {std::pair{ID_START, "Start"}, {ID_ABORT, "Abort"}, {ID_WITHOUT_TEXT, "Zoom"}}) {
            auto* button = new QPushButton(text, &panel);
            kova::setControlId(button, id);
            layout->addWidget(button);
        }
        label = new QLabel("Compressions", &panel);
        layout->addWidget(label);
        panel.resize(300, 200);
        ToolTipAnswer::enable(&panel);
    }
    ~Panel() override { idMap::clear(); }

    QWidget* control(int id) { return kova::getDlgItem(&panel, id); }

    // Rests the mouse on the control; the tooltip shown, or empty.
    static QString hover(QWidget* control)
    {
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
            return "(the last tooltip stayed)";
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(control, &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    QWidget panel;
    QLabel* label = nullptr;
};

} // namespace

TEST_F(Panel, theTableAnswersByControlId)
{
    panel.show();
    EXPECT_EQ(ToolTipAnswer::toolTipFor(control(ID_START)), "Start/resume this session");
    EXPECT_TRUE(hover(control(ID_START)).contains("Start/resume this session"));
    // A control without an entry, or without an id, shows none.
    EXPECT_EQ(ToolTipAnswer::toolTipFor(control(ID_WITHOUT_TEXT)), "");
    EXPECT_EQ(hover(control(ID_WITHOUT_TEXT)), "");
    EXPECT_EQ(hover(label), "");
}

TEST_F(Panel, linesBreakAtNewlinesAndWrapAt300Pixels)
{
    EXPECT_EQ(ToolTipAnswer::toolTipFor(control(ID_ABORT)),
              "Abort this session.\nThere is no way to resume an aborted session");

    kova::setControlId(label, ID_LONG);
    const QString wrapped = ToolTipAnswer::toolTipFor(label);
    const QStringList lines = wrapped.split('\n');
    EXPECT_GE(lines.size(), 2);
    const QFontMetrics metrics(QToolTip::font());
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), ToolTipAnswer::MAX_TIP_WIDTH - 2 * ToolTipAnswer::TIP_MARGIN)
            << line.toStdString();
    EXPECT_EQ(QString(wrapped).replace('\n', ' '), QString::fromStdWString(idMap::lookup(ID_LONG)));

    // A word wider than the whole width stands alone.
    EXPECT_EQ(ToolTipAnswer::wrapText("a " + QString(200, 'w') + " b", metrics, 100),
              "a\n" + QString(200, 'w') + "\nb");
}

// A text that looks like markup still shows as typed.
TEST_F(Panel, textsShowAsTyped)
{
    panel.show();
    idMap::insert(100001, L"<b>Airway</b> & breathing");
    kova::setControlId(label, 100001);
    const QString shown = hover(label);
    EXPECT_TRUE(shown.contains("&lt;b&gt;Airway&lt;/b&gt; &amp; breathing")) << shown.toStdString();
}

TEST_F(Panel, onlyWindowsThatAskShowTheTableTooltips)
{
    ToolTipAnswer::enable(&panel, false);
    EXPECT_EQ(ToolTipAnswer::toolTipFor(control(ID_ABORT)), "");

    // A dialog inside a child frame decides for itself, whatever the main window does.
    kovatest::TestMainWindow window;
    ToolTipAnswer::enable(&window);
    auto* frame = new ChildFrame(&window.client());
    auto* cancel = new QPushButton("Cancel");
    kova::setControlId(cancel, ID_ABORT);
    frame->setHostedWindow(cancel);
    ASSERT_TRUE(frame->createFrame("Practice"));
    EXPECT_EQ(ToolTipAnswer::toolTipFor(cancel), "");
}

TEST_F(Panel, commandsTakeTheirTooltipAndStatusTipFromTheTable)
{
    kovatest::TestMainWindow window;
    ToolTipAnswer::enable(&window);
    auto* toolbar = window.addToolBar("Main");
    QAction* calibrate = kova::MenuBuilder::findCommand(window.menuBar(), kovatest::TestMainWindow::ID_CALIBRATE);
    ASSERT_TRUE(calibrate);
    toolbar->addAction(calibrate);
    ToolTipAnswer::applyStatusTips(&window);

    EXPECT_EQ(calibrate->statusTip(), "Calibrate manikins");
    auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(calibrate));
    ASSERT_TRUE(button);
    EXPECT_EQ(ToolTipAnswer::toolTipFor(button), "Calibrate manikins");
}

TEST(ToolTipTiming, tipsComeAfter800MillisecondsWithA3PixelMargin)
{
    ToolTipAnswer::install(*qApp);
    ToolTipAnswer::install(*qApp);
    EXPECT_EQ(qApp->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 800);
    EXPECT_EQ(qApp->style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth), 3);
}
