// Pictures of the graph panes as an instructor sees them: a simulated trainee
// working on a framed manikin, streamed through the station's reader into its
// measurement store, shown live on ventilation, ECG and compression panes
// under one time axis, and the same panes printed in black and white.

#include "app/graphs/AxisCtrl.h"
#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphSource.h"
#include "app/graphs/GraphView.h"

#include "../../comm/FakeReaderPort.h"
#include "GraphTestSession.h"
#include "TempDir.h"
#include "comm/reader/ManikinReader.h"
#include "comm/link/SerialPort.h"
#include "config/AlgorithmRecord.h"
#include "controls/HoverHintStatic.h"
#include "manikin-sim/ManikinFrames.h"
#include "manikin-sim/PerformanceGenerator.h"
#include "platform/ManualClock.h"
#include "platform/ScopedClock.h"

#include <QLabel>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

using graphtest::TestSession;

namespace {

constexpr int PANEL_WIDTH = 900;
constexpr int PANEL_HEIGHT = 640;
constexpr int LABEL_LEFT = 8;

AlgorithmRecord guideline()
{
    AlgorithmRecord algorithm;
    algorithm.compDepthLow = 50;
    algorithm.compDepthHigh = 60;
    algorithm.vVolLow = 0.5;
    algorithm.vVolHigh = 0.8;
    return algorithm;
}

// A live session on a simulated framed manikin (kind 3, 50 samples a second)
// with its three curves, panes and axis laid out as the live panel lays them
// out with the ECG curve shown.
class LiveGraphs {
    platform::ManualClock clock_;
    platform::ScopedClock installed_;
    FakeReaderPort::State port_;
    ManikinReader reader_;
    AlgorithmRecord algorithm_ = guideline();

public:
    TestSession session{50.0};
    GraphSource ventilationSource = GraphSource::ventilation(session.data, algorithm_);
    GraphSource compressionSource = GraphSource::compression(session.data, algorithm_);
    GraphSource ecgSource = GraphSource::ecg(session.data, algorithm_);
    GraphDoc ventilationDoc{ventilationSource};
    GraphDoc compressionDoc{compressionSource};
    GraphDoc ecgDoc{ecgSource};

    LiveGraphs()
        : installed_(clock_),
          reader_(std::make_unique<FakeReaderPort>(port_))
    {
        port_.linkType = SerialPort::LINK_FRAMED_COM;
        port_.kindIs3or4 = port_.kindIs3 = true;
        reader_.restartTimers();
        reader_.start();
        session.data.setAlgorithm(&algorithm_);
        session.data.attach(reader_);
        session.running = true;
        session.toggles.set(GraphToggles::CARDIAC_OUTPUT, true);

        manikinsim::PerformancePlan plan;
        plan.sampleRate = 50;
        plan.scale = manikinsim::CountScale::framedKind3or4();
        plan.restCompression = plan.restVentilation = 0;
        plan.compressionsPerCycle = 30;
        plan.compressionRate = 110;
        plan.compressionDepthMm = 52;
        plan.ventilationVolumeLitres = 0.65;
        plan.stomachInflationEvery = 3;
        plan.wrongHandPositionEvery = 9;
        plan.shallowEvery = 7;
        generator_ = std::make_unique<manikinsim::PerformanceGenerator>(plan);

        panel.resize(PANEL_WIDTH, PANEL_HEIGHT);
        panel.setAutoFillBackground(true);
        axis = new AxisCtrl(session, nullptr);
        ventilation = GraphView::createView(ventilationDoc);
        compression = GraphView::createView(compressionDoc);
        ecg = GraphView::createView(ecgDoc);
        ecg->setEcgStyle(true);
        for (GraphView* pane : {ventilation, compression, ecg})
            pane->setAxisCtrl(axis);
        axis->Create(&panel);
        for (GraphView* pane : {ventilation, compression, ecg}) {
            pane->Create(&panel);
            pane->setReadoutTarget(&readout);
        }
        axis->setViewIndexes(2000); // 40 seconds
        layOut();
        panel.show();
        axis->join();
    }

    // One 20 ms tick of the session: one sample from the manikin, read,
    // measured and handed to the axis.
    void tick()
    {
        const manikinsim::PerformanceSample sample = generator_->next();
        const auto bytes = encoder_.encode(sample);
        port_.incoming.insert(port_.incoming.end(), bytes.begin(), bytes.end());
        clock_.advance(20);
        reader_.update();
        session.data.processNewSamples();
        session.publish();
    }

    void run(int seconds)
    {
        for (int i = 0; i < seconds * 50; ++i)
            tick();
    }

    // The print of the live panel: ventilation, ECG and compression strips
    // with the axis labels between them, framed.
    void printInto(QImage& page)
    {
        QPainter painter(&page);
        const QRect area = page.rect().adjusted(page.width() / 20, page.width() / 20, -page.width() / 20, -page.width() / 20);
        axis->setPrintFont(&page);
        const int axisHeight = AxisCtrl::printHeight(&page);
        const int part = (area.height() - axisHeight) / 3;
        ventilation->printTo(painter, area.left(), area.top(), area.right(), area.top() + part, true);
        ecg->printTo(painter, area.left(), area.top() + part + axisHeight, area.right(),
                     area.bottom() - part - axisHeight, true);
        compression->printTo(painter, area.left(), area.bottom() - part, area.right(), area.bottom(), true);
        axis->printTo(painter, QRect(area.left(), area.top() + part, area.width(), area.height() - 2 * part));
        painter.setPen(QPen(Qt::black, 3));
        painter.drawRect(area);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(QRect(area.left(), area.top() + part, area.width(), axisHeight - 1));
        painter.drawRect(QRect(area.left(), area.bottom() - part - axisHeight, area.width(), axisHeight - 1));
    }

private:
    // The live panel's arrangement with the ECG curve: 2 parts ventilation,
    // the axis, 1 part ECG, a free band as high as the axis, 2 parts compression.
    void layOut()
    {
        const int top = 24;
        const int axisHeight = axis->axisHeight();
        const int width = PANEL_WIDTH - LABEL_LEFT - 8;
        const int q = (PANEL_HEIGHT - 24 - 2 * axisHeight - top) / 5;
        auto* name = new QLabel(QString::fromStdWString(ventilationSource.name + L": Anna"), &panel);
        name->setGeometry(LABEL_LEFT, 4, width * 3 / 5, 18);
        readout.setGeometry(LABEL_LEFT + width * 3 / 5, 4, width * 2 / 5, 18);
        ventilation->setGeometry(LABEL_LEFT, top, width, 2 * q);
        axis->setGeometry(LABEL_LEFT, top + 2 * q, width, axisHeight);
        ecg->setGeometry(LABEL_LEFT, top + 2 * q + axisHeight, width, q);
        compression->setGeometry(LABEL_LEFT, top + 3 * q + 2 * axisHeight, width, 2 * q);
        auto* lower = new QLabel(QString::fromStdWString(compressionSource.name + L": Ben"), &panel);
        lower->setGeometry(LABEL_LEFT, top + 5 * q + 2 * axisHeight + 2, width * 3 / 5, 18);
    }

    std::unique_ptr<manikinsim::PerformanceGenerator> generator_;
    manikinsim::FrameEncoder encoder_{false};

public:
    // The panel goes first, with the panes and the axis it owns; then the
    // documents and the session they show; the reader last.
    QWidget panel;
    kova::HoverHintStatic readout{&panel};
    AxisCtrl* axis = nullptr;
    GraphView* ventilation = nullptr;
    GraphView* compression = nullptr;
    GraphView* ecg = nullptr;
};

int countColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) | 0xFF000000u) == colour;
    return n;
}

std::string picturePath(const char* name) { return (kovatest::binaryDir() / "tests" / "app" / name).string(); }

} // namespace

TEST(GraphPicture, liveVentilationEcgAndCompressionPanesOnOneAxis)
{
    auto graphs = std::make_unique<LiveGraphs>();
    graphs->run(30);
    graphs->ventilationDoc.addMark(ToolbarButton(L"Airway", L"Open the airway", 3));
    graphs->run(25);
    graphs->compressionDoc.addMark(ToolbarButton(L"Pulse", L"Check the pulse", 2));
    graphs->run(5);
    // An instructor measures a stretch on the ventilation curve.
    graphs->axis->onLButtonDown(*graphs->ventilation, graphs->axis->getLeftIndex() + 300);
    graphs->axis->onMouseMove(*graphs->ventilation, graphs->axis->getLeftIndex() + 925);

    const QImage picture = graphs->panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(picture.save(QString::fromStdString(picturePath("graph-pane.png"))));

    EXPECT_GT(graphs->session.data.manData.size(), 2900u);
    EXPECT_FALSE(graphs->session.data.seriesSummaries().empty()) << "series were evaluated";
    EXPECT_GT(countColour(graphs->compression->backBuffer(), 0xFFC83232), 500) << "the compression curve";
    EXPECT_GT(countColour(graphs->ventilation->backBuffer(), 0xFF0000FF), 300) << "the ventilation curve";
    EXPECT_GT(countColour(graphs->ventilation->backBuffer(), 0xFF0000D2), 40) << "stomach inflation markers";
    EXPECT_GT(countColour(graphs->ventilation->backBuffer(), 0xFFC0C0C0), 20) << "the ventilation mark";
    EXPECT_GT(countColour(graphs->compression->backBuffer(), 0xFFC0C0C0), 20) << "the compression mark";
    EXPECT_GT(countColour(graphs->ecg->backBuffer(), 0xFF000000), 300) << "the ECG trace";
}

TEST(GraphPicture, thePanesPrintedInBlackAndWhite)
{
    auto graphs = std::make_unique<LiveGraphs>();
    graphs->run(50);
    graphs->compressionDoc.addMark(ToolbarButton(L"Pulse", L"Check the pulse", 2));
    graphs->run(10);
    graphs->session.running = false;

    // A landscape page of a 300-dpi printer, as the print font is sized for one.
    QImage page(3300, 2550, QImage::Format_RGB32);
    page.setDotsPerMeterX(11811);
    page.setDotsPerMeterY(11811);
    page.fill(Qt::white);
    graphs->printInto(page);
    ASSERT_TRUE(page.save(QString::fromStdString(picturePath("graph-pane-print.png"))));
    EXPECT_EQ(countColour(page, 0xFFC83232), 0) << "no red curve on a black-and-white print";
    EXPECT_GT(countColour(page, 0xFF000000), 5000);
    EXPECT_EQ(graphs->axis->getLabelSize(), AxisCtrl(graphs->session, nullptr).getLabelSize())
        << "the screen font returns after printing";
}
