// The debriefing panel of a session the simulated manikin performed to its
// end, in the session's real windows on Qt's offscreen platform: its rows,
// buttons and recommendation box, a stored session's panel, and a picture of
// the debriefing for a person to check.

#include "PerformedSession.h"
#include "PerformedWindowsFixture.h"
#include "SessionTestKit.h"

#include "Database/SessionRecord.h"
#include "Rodezir/gstringUtil.h"
#include "TempDir.h"
#include "app/debriefing/DebriefReport.h"
#include "app/debriefing/SessionDebriefView.h"
#include "app/sessions/SessionView.h"
#include "app/sessions/SessionWindowSet.h"
#include "config/Configuration.h"
#include "controls/reportctrl/CReportCtrl.h"
#include "platform/Help.h"
#include "platform/RegistryStore.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QTest>

#include <cstdlib>

using namespace sessiontest;
using Panel = SessionWindows::Panel;

namespace {

constexpr int RATE = 20;

class SessionDebriefViewTest : public PerformedWindowsFixture {
protected:
    static constexpr long DURATION = 75; // seconds: the performance and its rest

    void SetUp() override
    {
        PerformedWindowsFixture::SetUp();
        forgetDataFolderWarning();
        platform::setHelpFunction([this](int topic) { helpTopics.push_back(topic); });
        settings().showCardiacOutput = true;
    }
    void TearDown() override
    {
        platform::setHelpFunction({});
        PerformedWindowsFixture::TearDown();
    }

    // A session shown in the host, run on the recorded performance until it ends.
    Session& performed()
    {
        manikinsim::PerformancePlan plan = faultyPerformance();
        plan.sampleRate = RATE;
        link.port.recording = recordedSamples(plan, static_cast<int>(DURATION) * RATE);
        SessionRecord record = liveRecord(DURATION, 1);
        record.Serialidentifier = "debrief0000001";
        record.TrainingMode = 0;
        sessions.push_back(liveSession(link, record));
        Session& session = *sessions.back();
        runShown(session, DURATION, RATE);
        return session;
    }
    static SessionDebriefView* panelOf(Session& session)
    {
        return qobject_cast<SessionDebriefView*>(session.getSessionDebriefView());
    }
    static QPlainTextEdit* boxOf(SessionDebriefView& panel)
    {
        return qobject_cast<QPlainTextEdit*>(panel.getDlgItem(SessionDebriefView::IDC_RECOMMENDATION));
    }
    static QString textOf(SessionDebriefView& panel, int id) { return panel.getDlgItem(id)->property("text").toString(); }

    std::vector<int> helpTopics;
};

TEST_F(SessionDebriefViewTest, aFinishedSessionShowsItsEvaluationRowByRow)
{
    Session& session = performed();
    ASSERT_TRUE(session.getEnded());
    ASSERT_EQ(session.getState(), Session::DEBRIEF);
    SessionDebriefView* panel = panelOf(session);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(session.getSessionView()->currentPanel(), panel);
    ASSERT_GT(session.getCommSession().getNrCompressions(), 50);

    kova::CReportCtrl& report = *panel->reportControl();
    ASSERT_EQ(report.getItemCount(), 14);
    const DebriefEvaluation evaluation = DebriefEvaluation::of(session.getCommSession(), settings());
    for (int kind = 0; kind < DebriefEvaluation::ROW_KINDS; ++kind) {
        SCOPED_TRACE(kind);
        std::wstring total = L" ", average = L" ", remark = L" ";
        evaluation.evaluateRow(kind, total, average, remark);
        EXPECT_EQ(report.getItemText(kind, 2), toNarrow(total));
        EXPECT_EQ(report.getItemText(kind, 3), toNarrow(average));
        EXPECT_EQ(report.getItemText(kind, 5), toNarrow(remark));
        EXPECT_NE(report.getItemBar(kind, 1), nullptr);
    }
    // The session has ended: its panel closes rather than aborts.
    EXPECT_EQ(textOf(*panel, SessionDebriefView::IDC_ABORT), "Close");
    EXPECT_TRUE(panel->getDlgItem(SessionDebriefView::IDC_REVIEW)->isVisible());
    EXPECT_TRUE(boxOf(*panel)->isVisible());

    // A comment typed for the trainee, in the picture of the whole debriefing.
    boxOf(*panel)->setFocus();
    QTest::keyClicks(boxOf(*panel), "Good rhythm. Push deeper: several compressions stayed under 40 mm.");
    EXPECT_EQ(session.getRecommendationText(), L"Good rhythm. Push deeper: several compressions stayed under 40 mm.");
    QApplication::processEvents();
    const QImage picture = host.grab().toImage();
    ASSERT_TRUE(picture.save(QString::fromStdString((kovatest::binaryDir() / "debriefing.png").string())));
}

// A minute of compressions only, one series that the session ends in: the
// panel judges its compression/relaxation ratio by its complete cycles, and
// shows the figure, not "0% / 100%" with "Not OK".
TEST_F(SessionDebriefViewTest, aCompressionOnlySessionIsJudgedByItsCompleteCycles)
{
    constexpr long MINUTE = 60;
    manikinsim::PerformancePlan plan;
    plan.sampleRate = RATE;
    plan.compressionRate = 106.0;
    plan.compressionDepthMm = 45.0;
    plan.compressionsPerCycle = 120; // more than the minute holds
    plan.ventilationsPerCycle = 0;
    plan.leadInSeconds = 1.0;
    link.port.recording = recordedSamples(plan, static_cast<int>(MINUTE) * RATE);
    SessionRecord record = liveRecord(MINUTE, 1);
    record.Serialidentifier = "compressions01";
    record.TrainingMode = 3;
    sessions.push_back(liveSession(link, record));
    Session& session = *sessions.back();
    runShown(session, MINUTE, RATE);
    ASSERT_EQ(session.getState(), Session::DEBRIEF);
    const CommSession& measured = session.getCommSession();
    ASSERT_EQ(measured.getNrCompGroups(), 1);
    ASSERT_GT(measured.getNrCompressions(), 100);

    kova::CReportCtrl& report = *panelOf(session)->reportControl();
    const auto rowOf = [&](const char* label) {
        for (int row = 0; row < report.getItemCount(); ++row)
            if (report.getItemText(row, 0) == label)
                return row;
        return -1;
    };
    const int ratio = rowOf("Comp./Relax. ratio");
    ASSERT_GE(ratio, 0);
    // The plan presses for 35 % of a stroke and holds 10 %, up to the last
    // sample before the release falls 5 mm: close to half the cycle, within
    // the guideline's 40 to 60 %.
    const int share = static_cast<int>(measured.getCompRelaxRatio() * 100);
    EXPECT_GE(share, 40);
    EXPECT_LE(share, 60);
    EXPECT_EQ(report.getItemText(ratio, 3), std::to_string(share) + "% / " + std::to_string(100 - share) + "%");
    EXPECT_EQ(report.getItemText(ratio, 5), " ") << "no remark on a ratio within the limits";
    // 0.03 l for each of its compressions but the last, over the time to that last one's start.
    const double perMinute = 0.03 * 106.0;
    EXPECT_NEAR(measured.getCardiacOutput(), perMinute, 0.1 * perMinute);
    EXPECT_EQ(measured.getCardiacOutputOK(), 1);

    QApplication::processEvents();
    const QImage picture = host.grab().toImage();
    ASSERT_TRUE(picture.save(QString::fromStdString((kovatest::binaryDir() / "debriefing-compressions-only.png").string())));
}

TEST_F(SessionDebriefViewTest, theRecommendationBoxKeepsWhatIsTypedUpToItsLimitWithoutEvaluatingAgain)
{
    Session& session = performed();
    SessionDebriefView& panel = *panelOf(session);
    QPlainTextEdit& box = *boxOf(panel);
    EXPECT_EQ(session.getRecommendationText(), L"");
    const int evaluated = panel.debriefReport()->evaluations();

    // Each keystroke has the comments row drawn again with the new text.
    struct PaintWatch : QObject {
        std::vector<QRect> painted;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                painted.push_back(static_cast<QPaintEvent*>(event)->rect());
            return false;
        }
    } watch;
    kova::CReportCtrl& report = *panel.reportControl();
    report.installEventFilter(&watch);
    box.setFocus();
    QApplication::processEvents();
    watch.painted.clear();
    QTest::keyClicks(&box, "V");
    QApplication::processEvents();
    report.removeEventFilter(&watch);
    const QRect commentsRow = report.getCellRect(report.getPositionOfItem(panel.debriefReport()->commentsRow()), 0);
    ASSERT_EQ(watch.painted.size(), 1u);
    EXPECT_TRUE(watch.painted[0].contains(QPoint(report.itemArea().center().x(), commentsRow.bottom() + 8)));
    EXPECT_GT(watch.painted[0].top(), report.itemArea().top()) << "only the comments row, not the whole list";
    QTest::keyClicks(&box, "entilate  slower;");
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, "50% more ");
    box.insertPlainText(QString::fromUtf8("\xC3\xBC"));
    EXPECT_EQ(session.getRecommendationText(), L"Ventilate  slower;\n50% more \u00FC");
    EXPECT_EQ(panel.debriefReport()->evaluations(), evaluated);

    // Beyond 200 characters nothing more goes in, wherever it is typed.
    box.clear();
    QTest::keyClicks(&box, QString(198, QChar('a')));
    QTest::keyClicks(&box, "bcde");
    EXPECT_EQ(box.toPlainText(), QString(198, QChar('a')) + "bc");
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(5);
    box.setTextCursor(cursor);
    QTest::keyClicks(&box, "X");
    EXPECT_EQ(box.toPlainText(), QString(198, QChar('a')) + "bc");
    EXPECT_EQ(session.getRecommendationText().size(), 200u);
}

TEST_F(SessionDebriefViewTest, theButtonsGoBackForwardPrintAndHelp)
{
    Session& session = performed();
    SessionDebriefView* panel = panelOf(session);
    std::vector<std::pair<Session*, bool>> printed;
    EXPECT_FALSE(panel->getDlgItem(SessionDebriefView::IDC_PRINT)->isEnabled());

    const auto click = [&](int id) { qobject_cast<QAbstractButton*>(panelOf(session)->getDlgItem(id))->click(); };
    click(ChildDialog::ID_HELP);
    EXPECT_EQ(helpTopics, std::vector<int>{SessionDebriefView::HELP_TOPIC});
    click(SessionDebriefView::IDC_GRAPH);
    EXPECT_EQ(session.getState(), Session::COLLECT);
    session.setState(Session::DEBRIEF);
    EXPECT_EQ(session.getSessionView()->currentPanel(), panel);
    click(SessionDebriefView::IDC_REVIEW);
    EXPECT_EQ(session.getState(), Session::REVIEW);

    // The printing part of the program prints the session with the table.
    session.setState(Session::DEBRIEF);
    session.windows().destroyPanel(Panel::Debrief);
    SessionDebriefView::setPrintFunction([&](Session& s, bool debriefing) { printed.emplace_back(&s, debriefing); });
    session.setState(Session::DEBRIEF);
    ASSERT_NE(panelOf(session), nullptr);
    ASSERT_TRUE(panelOf(session)->getDlgItem(SessionDebriefView::IDC_PRINT)->isEnabled());
    click(SessionDebriefView::IDC_PRINT);
    EXPECT_EQ(printed, (std::vector<std::pair<Session*, bool>>{{&session, true}}));
}

TEST_F(SessionDebriefViewTest, aStoredSessionShowsItsStoredRecommendationAndNoWayToTheReview)
{
    Session& live = performed();
    QTest::keyClicks(boxOf(*panelOf(live)), "abc");
    ASSERT_TRUE(live.save());

    SessionRecord record = live.getRecord();
    record.Manikin = Session::STORED_MANIKIN;
    record.InterfaceFrequency = live.getCommSession().sampleRate;
    sessions.push_back(std::make_unique<Session>(record, AlgorithmRecord{}));
    Session& stored = *sessions.back();
    ASSERT_TRUE(stored.getUsingFile());
    stored.createSessionView()->create(&host);
    stored.setState(Session::DEBRIEF);
    SessionDebriefView* panel = panelOf(stored);
    ASSERT_NE(panel, nullptr);
    for (const int id : {SessionDebriefView::IDC_REVIEW, SessionDebriefView::IDC_RECOMMENDATION,
                         SessionDebriefView::IDC_RECOMMENDATION_LABEL})
        EXPECT_FALSE(panel->getDlgItem(id)->isVisible()) << id;
    EXPECT_EQ(stored.getRecommendationText(), L"abc\n");
    // The stored measurements give the same rows.
    EXPECT_EQ(panel->reportControl()->getItemText(8, 2), panelOf(live)->reportControl()->getItemText(8, 2));
}

} // namespace
