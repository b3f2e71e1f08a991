// The graph pane of a session: its curve, band, markers, marks and
// selections drawn into the back buffer over the window of its time axis,
// its mouse readout, and its print onto any paint device.

#include "app/graphs/AxisCtrl.h"
#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphSource.h"
#include "app/graphs/GraphView.h"

#include "GraphTestSession.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"
#include "config/AlgorithmRecord.h"
#include "config/Configuration.h"
#include "config/PropertyModel.h"
#include "controls/HoverHintStatic.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

using graphtest::TestSession;

namespace {

using SourceMaker = GraphSource (*)(CommSession&, const AlgorithmRecord&);

constexpr QRgb VENTILATION_MARKER_FILL = 0xFF0000D2;
constexpr QRgb MARK_FACE = 0xFFC0C0C0;

// One pane on its axis in a window: the plot is `width` x `height` pixels.
struct Pane {
    Pane(SourceMaker make, double rate, int width = 600, int height = 300, const AlgorithmRecord& limits = {})
        : algorithm(limits), session(rate), source(make(session.data, algorithm)), doc(source),
          host(std::make_unique<QWidget>())
    {
        host->resize(width + 4, height + 30);
        axis = new AxisCtrl(session, nullptr);
        axis->Create(host.get());
        axis->setGeometry(2, height + 4, width, 20);
        view = GraphView::createView(doc);
        view->Create(host.get());
        view->setAxisCtrl(axis);
        view->setGeometry(0, 0, width + 4, height + 4);
        host->show();
    }

    // Samples of one value up to `last`, handed over as the session's step does.
    void reach(int last, double value)
    {
        extend(last, value);
        session.publish();
    }
    void extend(int last, double value)
    {
        Measurement m;
        m.depth = value;
        m.volume = value;
        m.ecg = static_cast<std::int32_t>(value);
        session.data.manData.resize(static_cast<std::size_t>(last + 1), m);
    }

    int count(QRgb colour) const
    {
        const QImage& image = view->backBuffer();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    }

    // Rows of a column that show the colour.
    int columnCount(int x, QRgb colour) const
    {
        int n = 0;
        for (int y = 0; y < view->backBuffer().height(); ++y)
            n += view->backBuffer().pixel(x, y) == colour;
        return n;
    }

    AlgorithmRecord algorithm;
    TestSession session;
    GraphSource source;
    GraphDoc doc;
    // The window owns the axis and the pane; it goes first.
    std::unique_ptr<QWidget> host;
    AxisCtrl* axis = nullptr;
    GraphView* view = nullptr;
};

QRgb curveColour(const GraphSource& source) { return 0xFF000000u | source.colour; }

std::string errorLog() { return kovatest::readFile(LogStream::instance().path()); }

} // namespace

TEST(GraphPane, theCurvePenIsTwoWideUpToFiftySecondsAndOneBeyond)
{
    for (const auto& [window, width] : {std::pair{999, 2}, std::pair{1000, 1}}) {
        Pane pane(&GraphSource::ventilation, 20.0);
        pane.axis->join();
        pane.axis->setView(0, window);
        pane.reach(900, 0.6);
        EXPECT_EQ(pane.view->curvePenWidth(), width) << window;
        EXPECT_EQ(pane.columnCount(300, curveColour(pane.source)), width) << window;
        pane.axis->leave();
    }
}

TEST(GraphPane, compressionHangsFromTheTopLineAndReachesTheBottomAtFullScale)
{
    Pane pane(&GraphSource::compression, 20.0);
    pane.axis->join();
    pane.axis->setView(0, 1000);
    EXPECT_EQ(pane.view->yOfValue(0.0), 0);
    EXPECT_EQ(pane.view->yOfValue(75.0), 300);
    pane.reach(400, 0.0);
    const QRgb red = curveColour(pane.source);
    EXPECT_EQ(pane.view->backBuffer().pixel(100, 0), red);
    EXPECT_NE(pane.view->backBuffer().pixel(100, 299), red);
    pane.reach(800, 74.0);
    EXPECT_EQ(pane.view->backBuffer().pixel(350, 296), red);
    pane.axis->leave();
}

TEST(GraphPane, aStoredSessionIsDrawnOnGreyAndARunningOneOnWhite)
{
    for (const bool running : {false, true}) {
        Pane pane(&GraphSource::ventilation, 20.0);
        pane.session.running = running;
        pane.axis->redrawAll();
        const QRgb corner = pane.view->backBuffer().pixel(5, 5);
        EXPECT_EQ(corner, running ? 0xFFFFFFFFu : GraphView::STORED_BACKGROUND) << running;
        // The recommended band lies between the limits of the algorithm.
        EXPECT_EQ(pane.view->backBuffer().pixel(5, pane.view->yOfValue(0.5)), GraphView::BAND_ON_SCREEN);
    }
}

TEST(GraphPane, problemsOffDrawsNoMarkerLiveNorOnRedraw)
{
    Pane pane(&GraphSource::ventilation, 20.0);
    pane.axis->join();
    pane.axis->setView(0, 1000);
    pane.reach(100, 0.3);
    pane.extend(200, 0.3);
    pane.session.data.manData[150].ventilationMark = 1;
    pane.session.publish();
    EXPECT_GT(pane.count(VENTILATION_MARKER_FILL), 20) << "the flagged sample drawn live";

    pane.session.toggles.set(GraphToggles::PROBLEMS, false);
    EXPECT_EQ(pane.count(VENTILATION_MARKER_FILL), 0) << "the switch redraws through the axis";
    pane.extend(300, 0.3);
    pane.session.data.manData[260].ventilationMark = 1;
    pane.session.publish();
    pane.session.data.markVentilation(150);
    EXPECT_EQ(pane.count(VENTILATION_MARKER_FILL), 0);

    pane.session.toggles.set(GraphToggles::PROBLEMS, true);
    const int twoMarkers = pane.count(VENTILATION_MARKER_FILL);
    EXPECT_GT(twoMarkers, 40);
    pane.session.data.manData.resize(400);
    pane.session.data.markVentilation(350); // a flag on a sample not drawn yet
    EXPECT_EQ(pane.count(VENTILATION_MARKER_FILL), twoMarkers);
    pane.axis->leave();
}

TEST(GraphPane, aMarkAtTheLeftEdgeIsNotDrawnAndOneAtTheNewestSampleIs)
{
    Pane pane(&GraphSource::ventilation, 20.0);
    pane.axis->join();
    pane.axis->setView(100, 200);
    pane.reach(100, 0.1);
    pane.doc.addMark(ToolbarButton(L"Airway", L"", 3)); // at 100, the left edge
    EXPECT_EQ(pane.count(MARK_FACE), 0);
    pane.reach(250, 0.1);
    pane.doc.addMark(ToolbarButton(L"Breathing", L"", 4)); // at 250, the newest sample
    const int x = pane.view->xOfIndex(250);
    EXPECT_EQ(x, 450);
    EXPECT_GT(pane.count(MARK_FACE), 20);
    EXPECT_EQ(pane.view->backBuffer().pixel(x - 9 + 17, 5), 0xFF000000u) << "the box's dark right edge";

    pane.session.toggles.set(GraphToggles::EVENTS, false);
    EXPECT_EQ(pane.count(MARK_FACE), 0);
    pane.axis->leave();
}

TEST(GraphPane, noSampleIsReadPastTheStoreWhateverTheAxisWasHanded)
{
    Pane pane(&GraphSource::compression, 20.0);
    pane.reach(300, 40.0);
    pane.axis->update(500); // more than the store holds
    pane.axis->setView(0, 600);
    pane.axis->redrawAll();
    EXPECT_EQ(errorLog().find("Assert failed"), std::string::npos) << errorLog();
}

TEST(GraphPane, theReadoutGivesTimeAndValueUnderTheMouse)
{
    Pane pane(&GraphSource::ventilation, 20.0);
    kova::HoverHintStatic hint;
    pane.view->setReadoutTarget(&hint);
    pane.axis->setView(0, 1200);
    EXPECT_EQ(pane.view->readoutAt(300, 150), L" 0:30 min:sec, 0.60 L.");

    QMouseEvent move(QEvent::MouseMove, QPointF(302, 227), QPointF(302, 227), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(pane.view, &move);
    EXPECT_EQ(hint.text(), QStringLiteral(" 0:30 min:sec, 0.30 L."));
}

TEST(GraphPane, aZoomDragInvertsItsStripOnScreenOnlyAndZoomsTheAxis)
{
    Pane pane(&GraphSource::ventilation, 20.0);
    pane.axis->join();
    pane.axis->setView(0, 2000);
    pane.reach(1500, 0.5);
    pane.axis->setMode(TimeAxis::MODE_ZOOM);
    const auto press = [&](QEvent::Type type, int x) {
        QMouseEvent event(type, QPointF(x + 2, 100), QPointF(x + 2, 100), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pane.view, &event);
    };
    press(QEvent::MouseButtonPress, 60);
    press(QEvent::MouseMove, 240);
    const QImage buffer = pane.view->backBuffer();
    const QImage screen = pane.view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(screen.pixel(150 + 2, 20 + 2) & 0xFFFFFF, ~buffer.pixel(150, 20) & 0xFFFFFF);
    EXPECT_EQ(screen.pixel(400 + 2, 20 + 2), buffer.pixel(400, 20));

    press(QEvent::MouseButtonRelease, 240);
    EXPECT_EQ(pane.axis->getLeftIndex(), 200);
    EXPECT_EQ(pane.axis->getViewIndexes(), 600);
    EXPECT_EQ(pane.axis->getMode(), TimeAxis::MODE_NORMAL);
    pane.axis->leave();
}

TEST(GraphPane, aFourHourStripPrintedOnAWidePageEndsAtItsRightEdge)
{
    Pane pane(&GraphSource::ventilation, 50.0);
    pane.session.data.manData.assign(720000, Measurement{});
    for (std::size_t i = 0; i < pane.session.data.manData.size(); ++i)
        pane.session.data.manData[i].volume = (i / 5000) % 2 ? 0.9 : 0.3;
    pane.axis->catchUp();
    pane.axis->setView(0, 720000);
    ASSERT_EQ(pane.axis->getLastUpdateIndex(), 719999);

    QImage page(6600, 400, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        pane.view->printTo(painter, 0, 0, 6600, 400, true);
    }
    // The last stretch (0.9 L, y = 399 - 300) runs black to the page's last column.
    for (int x = static_cast<int>(6600LL * 715000 / 720000) + 2; x < 6600; ++x)
        ASSERT_EQ(page.pixel(x, 99), 0xFF000000u) << x;
    // The stretch before it (0.3 L) ends where its samples do.
    EXPECT_EQ(page.pixel(static_cast<int>(6600LL * 714000 / 720000), 299), 0xFF000000u);
}

TEST(GraphPane, seriesLabelsShowUnderFiveMinutesWithTheirSwitches)
{
    Pane pane(&GraphSource::compression, 20.0);
    pane.axis->join();
    pane.session.toggles.set(GraphToggles::CARDIAC_OUTPUT, true);
    Configuration::instance().getPropertyModel().ratioAsPercent = false;
    pane.axis->setView(0, 5999); // a sample under five minutes
    pane.reach(5000, 0.0);
    // The rows above the marks at the bottom, between the series' first and last sample.
    const auto inkInRows = [&] {
        int ink = 0;
        const QImage& image = pane.view->backBuffer();
        for (int y = 300 - 60; y < 300 - 17; ++y)
            for (int x = pane.view->xOfIndex(1000); x <= pane.view->xOfIndex(2000); ++x)
                ink += image.pixel(x, y) == 0xFF000000u;
        return ink;
    };
    EXPECT_EQ(inkInRows(), 0);

    SeriesSummary summary;
    summary.firstStart = 1000;
    summary.lastEnd = 1800;
    summary.nextStart = 2000;
    summary.compressionPercent = 60;
    summary.cardiacOutput = 3.4;
    pane.session.data.addSeriesSummary(summary); // the analyser's signal draws them at once
    const int labelled = inkInRows();
    EXPECT_GT(labelled, 40);
    pane.axis->redrawAll();
    EXPECT_EQ(inkInRows(), labelled) << "a redraw draws the same labels";

    pane.session.toggles.set(GraphToggles::CARDIAC_OUTPUT, false);
    const int ratioOnly = inkInRows();
    EXPECT_GT(ratioOnly, 20);
    EXPECT_LT(ratioOnly, labelled);
    pane.session.toggles.set(GraphToggles::CR_RATIO, false);
    EXPECT_EQ(inkInRows(), 0);

    pane.session.toggles.set(GraphToggles::CR_RATIO, true);
    pane.axis->setView(0, 6000); // exactly five minutes
    EXPECT_EQ(inkInRows(), 0);
    Configuration::instance().getPropertyModel().ratioAsPercent = true;
    pane.axis->leave();
}

TEST(GraphPane, theAxisWindowJoinsItsSessionTellsItsPanelAndLetsItsPanesGo)
{
    TestSession session(20.0);
    AlgorithmRecord algorithm;
    GraphSource source = GraphSource::ventilation(session.data, algorithm);
    GraphDoc doc(source);
    QWidget host;
    GraphView* pane = GraphView::createView(doc);
    pane->Create(&host);
    auto* axis = new AxisCtrl(session, nullptr);
    int changes = 0;
    QObject::connect(axis, &AxisCtrl::viewChanged, [&changes] { ++changes; });
    axis->setViewIndexes(600);
    EXPECT_EQ(changes, 0) << "no window, no message";
    ASSERT_TRUE(axis->Create(&host));
    EXPECT_EQ(session.receivers.size(), 1u);
    pane->setAxisCtrl(axis);
    axis->setViewIndexes(800);
    axis->setMode(TimeAxis::MODE_SHOW_ALL);
    EXPECT_EQ(changes, 2);
    EXPECT_GT(axis->getLabelSize().width(), 20);
    EXPECT_GE(axis->axisHeight(), AxisCtrl::axisFontHeight());
    EXPECT_TRUE(AxisCtrl::axisFont().bold());

    delete axis;
    EXPECT_TRUE(session.receivers.empty());
    EXPECT_EQ(pane->getAxisCtrl(), nullptr);
    pane->redrawAll(); // without an axis it draws nothing, and says so
    EXPECT_NE(errorLog().find("axisCtrl_ != nullptr"), std::string::npos);
}

TEST(GraphPane, theEcgPaneAsksForARhythmCheckOncePerNewFlaggedSample)
{
    Pane pane(&GraphSource::ecg, 50.0);
    pane.view->setEcgStyle(true);
    int checks = 0;
    pane.view->setRhythmCheck([&checks] { ++checks; });
    pane.axis->join();
    pane.axis->setView(0, 1000);
    pane.extend(100, 60.0);
    pane.session.data.manData[50].error66 = 1;
    pane.session.publish();
    EXPECT_EQ(checks, 1);
    pane.axis->redrawAll();
    EXPECT_EQ(checks, 1) << "the same flagged sample drawn again asks nothing";
    pane.extend(200, 60.0);
    pane.session.data.manData[150].error66 = 1;
    pane.session.data.manData[151].error66 = 1;
    pane.session.publish();
    EXPECT_EQ(checks, 3);
    EXPECT_EQ(pane.view->curvePenWidth(), 1) << "the ECG trace is always thin";
    const int withinLimits = pane.view->yOfValue((pane.source.lowerLimit + pane.source.upperLimit) / 2);
    EXPECT_EQ(pane.view->backBuffer().pixel(5, withinLimits), GraphView::STORED_BACKGROUND) << "no band on the ECG pane";
    pane.axis->leave();
}

// The value labels of a narrow band in a pane as small as a surveillance
// tile gives: every label whole, inside the pane, none over another, and in
// the order of the values they name.
TEST(GraphPane, valueLabelsOfANarrowBandInASmallPaneStayWholeAndApart)
{
    AlgorithmRecord narrow;
    narrow.vVolLow = 0.5;
    narrow.vVolHigh = 0.6;
    narrow.compDepthLow = 50;
    narrow.compDepthHigh = 60;
    struct Case {
        const char* name;
        SourceMaker make;
        int height;
        // Every label shown, from the top of the pane down; the captions of
        // the group rows may stand anywhere between the values, C/R first.
        std::vector<std::string> values;
        std::vector<std::string> captions;
    };
    const Case cases[] = {
        {"ventilation", &GraphSource::ventilation, 110, {"1.20 L.", "0.60 L.", "0.50 L.", "0.00 L."}, {}},
        {"compression with both captions", &GraphSource::compression, 110,
         {"0.00 mm.", "50.00 mm.", "60.00 mm.", "75.00 mm."}, {"C/R ratio", "CO. L/min"}},
        {"a pane too short for all", &GraphSource::compression, 40, {"0.00 mm.", "60.00 mm.", "75.00 mm."}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pane pane(c.make, 20.0, 180, c.height, narrow);
        pane.session.toggles.set(GraphToggles::CARDIAC_OUTPUT, true);
        const std::vector<GraphView::ValueLabel> labels = pane.view->valueLabels();
        const QFontMetrics metrics(pane.axis->getFont());
        std::vector<std::pair<int, std::string>> byHeight;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const GraphView::ValueLabel& label = labels[i];
            EXPECT_TRUE(QRect(0, 0, 180, c.height).contains(label.box)) << label.text.toStdString();
            EXPECT_GE(label.box.width(), metrics.horizontalAdvance(label.text)) << label.text.toStdString();
            EXPECT_GE(label.box.height(), metrics.height());
            for (std::size_t j = i + 1; j < labels.size(); ++j)
                EXPECT_FALSE(label.box.intersects(labels[j].box))
                    << label.text.toStdString() << " on " << labels[j].text.toStdString();
            byHeight.emplace_back(label.box.top(), label.text.toStdString());
        }
        std::sort(byHeight.begin(), byHeight.end());
        std::vector<std::string> values, captions;
        for (const auto& [top, text] : byHeight)
            (std::isdigit(static_cast<unsigned char>(text[0])) ? values : captions).push_back(text);
        EXPECT_EQ(values, c.values);
        EXPECT_EQ(captions, c.captions);
    }
}

TEST(GraphPane, printedMarksShowWhateverTheEventsSwitch)
{
    Pane pane(&GraphSource::ventilation, 20.0);
    pane.axis->join();
    pane.axis->setView(0, 400);
    pane.reach(300, 0.3);
    pane.doc.addMark(ToolbarButton(L"Airway", L"", 3));
    pane.session.toggles.set(GraphToggles::EVENTS, false);
    ASSERT_EQ(pane.count(MARK_FACE), 0) << "the screen follows the switch";

    QImage page(1200, 400, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        pane.view->printTo(painter, 0, 0, 1200, 400, false);
    }
    int face = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            face += page.pixel(x, y) == MARK_FACE;
    EXPECT_GT(face, 100);
    pane.axis->leave();
}
