// The debriefing's evaluation list on a real report control over a session the
// simulated manikin performed: its rows, bars and separators, the rows a
// refresh writes, a keystroke that evaluates nothing, the recommendation
// drawn below the rows, and the printed table read back from a PDF.

#include "app/debriefing/DebriefReport.h"

#include "PerformedSession.h"
#include "SessionTestSupport.h"
#include "RunProgram.h"
#include "TempDir.h"
#include "Rodezir/dialogs/DialogTable.h"
#include "Rodezir/gstringUtil.h"
#include "controls/BarGaugeWnd.h"
#include "controls/reportctrl/CReportCtrl.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <string>
#include <vector>

namespace {

using namespace kova;

constexpr std::uint32_t REPORT_STYLE = RVS_SHOWEVENBKCOLOR | RVS_SHOWVGRID | WS_BORDER;

PropertyModel allOn()
{
    PropertyModel s;
    s.showCardiacOutput = true;
    return s;
}

void setEveryRow(PropertyModel& s, bool on)
{
    for (bool PropertyModel::*show :
         {&PropertyModel::showMinuteVolume, &PropertyModel::showCardiacOutput, &PropertyModel::showInitialVentilations,
          &PropertyModel::showVentilationRate, &PropertyModel::showAverageVolume, &PropertyModel::showStomachInflations,
          &PropertyModel::showCompressionRate, &PropertyModel::showCompressionRelaxationRatio,
          &PropertyModel::showCompressionDepth, &PropertyModel::showPauseBetweenCompressions,
          &PropertyModel::showWrongHandPositions, &PropertyModel::showLeanings,
          &PropertyModel::showVentilationCompressionRatio, &PropertyModel::showDebriefingComments})
        s.*show = on;
}

// A report control in a window with the debriefing's list in it.
struct ReportWindow {
    explicit ReportWindow(CommSession& session, const PropertyModel& settings) : debrief(*list, session)
    {
        window.resize(900, 520);
        list->setGeometry(0, 0, 900, 520);
        // Measured in the fonts the list is shown with.
        window.ensurePolished();
        QObject::connect(list, &CReportCtrl::reportNotify, &window, [this](ReportNotify* record) {
            if (record->code == RVN_ITEMDRAWPREVIEW)
                debrief.drawExtraArea(*record, recommendation);
        });
        debrief.defineColumns();
        debrief.createBars(settings);
        debrief.fillRows(settings);
        debrief.refresh(settings);
    }

    std::string text(int row, int subItem) { return list->getItemText(row, subItem); }
    int extraHeight(int row)
    {
        ReportItem item;
        item.item = row;
        item.subItem = -1;
        item.mask = RVIM_ROWHEIGHT;
        list->getItem(item);
        return item.rowHeight;
    }

    QWidget window;
    CReportCtrl* list = new CReportCtrl(&window, REPORT_STYLE, 1332);
    DebriefReport debrief;
    std::wstring recommendation;
};

std::string narrow(const std::wstring& text) { return toNarrow(text); }

TEST(DebriefReport, everyShownRowCarriesItsLabelBarAndFigures)
{
    PerformedSession performed;
    const PropertyModel settings = allOn();
    ReportWindow report(performed.session, settings);
    CReportCtrl& list = *report.list;

    ASSERT_EQ(list.getItemCount(), 14);
    EXPECT_EQ(report.debrief.commentsRow(), 13);
    EXPECT_TRUE(list.getLastRowFlag());
    const DebriefEvaluation evaluation = DebriefEvaluation::of(performed.session, settings);
    for (int row = 0; row < 13; ++row) {
        const int kind = row;
        SCOPED_TRACE(kind);
        std::wstring total = L" ", average = L" ", remark = L" ";
        evaluation.evaluateRow(kind, total, average, remark);
        EXPECT_EQ(report.text(row, 0), narrow(DebriefEvaluation::rowLabel(kind)));
        EXPECT_EQ(report.text(row, 2), narrow(total));
        EXPECT_EQ(report.text(row, 3), narrow(average));
        EXPECT_EQ(report.text(row, 4), narrow(evaluation.recommendedText(kind)));
        EXPECT_EQ(report.text(row, 5), narrow(remark));
        // The bar is the control's own bar cell, its marker set by the refresh.
        EXPECT_EQ(list.getItemBar(row, 1).get(), report.debrief.bar(kind));
        EXPECT_EQ(report.text(row, 1), "");
        EXPECT_DOUBLE_EQ(report.debrief.bar(kind)->value(), evaluation.marker(kind));
        EXPECT_EQ(report.extraHeight(row), (kind == 1 || kind == 5 || kind == 11 || kind == 12) ? 8 : 0);
    }
    EXPECT_EQ(report.text(13, 0), "Evaluation: ");
    EXPECT_EQ(list.getItemData(13), DebriefReport::COMMENTS_ROW_DATA);
    EXPECT_GT(report.extraHeight(13), 3 * QFontMetrics(list.font()).height());
    // Figures blue, recommendations green.
    ReportItem cell;
    cell.item = 8;
    cell.subItem = 2;
    cell.mask = RVIM_TEXT | RVIM_TEXTCOLOR;
    list.getItem(cell);
    EXPECT_EQ(cell.textColor, 3);
    cell.subItem = 4;
    list.getItem(cell);
    EXPECT_EQ(cell.textColor, 2);
}

TEST(DebriefReport, theRowsFollowTheSettingsAndTheTrainingModeOfTheirFilling)
{
    struct Case {
        const char* what;
        int mode;
        std::function<void(PropertyModel&)> settings;
        std::vector<std::string> labels;
        bool lastRowFlag;
    };
    const std::vector<Case> cases = {
        {"everything off", 0, [](PropertyModel& s) { setEveryRow(s, false); }, {}, false},
        {"only the comments", 1,
         [](PropertyModel& s) {
             setEveryRow(s, false);
             s.showDebriefingComments = true;
         },
         {"Evaluation: "}, true},
        {"ventilation only", 2, [](PropertyModel& s) { setEveryRow(s, true); },
         {"Ventilation rate", "Ventilation volume", "Stomach inflation", "Evaluation: "}, true},
        {"compressions only, no comments", 3,
         [](PropertyModel& s) {
             setEveryRow(s, true);
             s.showDebriefingComments = false;
         },
         {"ECC Rate", "Comp./Relax. ratio", "Compression depth", "Pause between ECC-ECC", "Wrong hand position",
          "Leaning"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PerformedSession performed(faultyPerformance(1), c.mode);
        PropertyModel settings;
        c.settings(settings);
        ReportWindow report(performed.session, settings);
        std::vector<std::string> labels;
        for (int row = 0; row < report.list->getItemCount(); ++row)
            labels.push_back(report.text(row, 0));
        EXPECT_EQ(labels, c.labels);
        EXPECT_EQ(report.list->getLastRowFlag(), c.lastRowFlag);
    }
}

TEST(DebriefReport, aRefreshAfterChangedSettingsWritesTheRowsAsFilled)
{
    PerformedSession performed;
    PropertyModel settings = allOn();
    ReportWindow report(performed.session, settings);
    const std::string commentsLabel = report.text(13, 0);

    // Rows switched off after the filling: the figures stay in their own rows
    // and nothing is written past them.
    settings.showMinuteVolume = false;
    settings.showInitialVentilations = false;
    settings.showCardiacOutput = false;
    report.debrief.refresh(settings);

    ASSERT_EQ(report.list->getItemCount(), 14);
    const DebriefEvaluation evaluation = DebriefEvaluation::of(performed.session, settings);
    for (int row = 0; row < 13; ++row) {
        SCOPED_TRACE(row);
        std::wstring total = L" ", average = L" ", remark = L" ";
        evaluation.evaluateRow(row, total, average, remark);
        EXPECT_EQ(report.text(row, 0), narrow(DebriefEvaluation::rowLabel(row)));
        EXPECT_EQ(report.text(row, 3), narrow(average));
        EXPECT_EQ(report.text(row, 5), narrow(remark));
    }
    EXPECT_EQ(report.text(13, 0), commentsLabel);
    EXPECT_EQ(report.text(13, 2), "");
    EXPECT_EQ(report.text(13, 5), "");
}

TEST(DebriefReport, typingEvaluatesAgainOnlyWhenTheSessionOrItsSettingsChanged)
{
    PerformedSession performed;
    PropertyModel settings = allOn();
    ReportWindow report(performed.session, settings);
    const int evaluated = report.debrief.evaluations();

    report.debrief.refresh(settings, true);
    report.debrief.refresh(settings, true);
    EXPECT_EQ(report.debrief.evaluations(), evaluated);

    performed.moreSamples(3);
    report.debrief.refresh(settings, true);
    EXPECT_EQ(report.debrief.evaluations(), evaluated + 1);

    performed.algorithm.compDepthLow = 45;
    report.debrief.refresh(settings, true);
    EXPECT_EQ(report.debrief.evaluations(), evaluated + 2);

    settings.debriefingAsCounts = false;
    report.debrief.refresh(settings, true);
    EXPECT_EQ(report.debrief.evaluations(), evaluated + 3);
    EXPECT_NE(report.text(8, 5).find("% OK"), std::string::npos);

    // A refresh that is asked for always evaluates.
    report.debrief.refresh(settings);
    EXPECT_EQ(report.debrief.evaluations(), evaluated + 4);
}

int countDark(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 60)
                ++count;
    return count;
}

TEST(DebriefReport, theRecommendationAndTheSeparatorsAreDrawnBelowTheirRows)
{
    PerformedSession performed;
    ReportWindow report(performed.session, allOn());
    CReportCtrl& list = *report.list;
    const QRect commentsLine = list.getCellRect(13, 0);
    const QRect commentsArea(list.itemArea().left() + 12, commentsLine.bottom() + 1, list.itemArea().width() - 14,
                             report.extraHeight(13));
    EXPECT_EQ(countDark(list.grab().toImage(), commentsArea), 0);

    report.recommendation = L"Keep the rate near 110 and let the chest rise fully after every compression.";
    const QImage image = list.grab().toImage();
    image.save(QString::fromStdString((kovatest::binaryDir() / "tests" / "app" / "debriefing-report.png").string()));
    EXPECT_GT(countDark(image, commentsArea), 100);

    // The separator below the stomach row (kind 5) is a black line across the
    // columns; the row above it, which closes no group, has none.
    const QRect stomach = list.getCellRect(5, 0);
    const QRect separator(list.itemArea().left(), stomach.bottom() + 1, list.itemArea().width(), 8);
    EXPECT_GE(countDark(image, separator), 2 * (list.itemArea().width() - 10));
    const QRect below4(list.itemArea().left(), list.getCellRect(4, 0).bottom() - 1, list.itemArea().width(), 2);
    EXPECT_LT(countDark(image, below4), list.itemArea().width() / 2);
}

std::string withoutBlanks(std::string text)
{
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\f'; });
    return text;
}

TEST(DebriefReport, thePrintedTableHoldsEveryShownRowAndReservesItsSlots)
{
    PerformedSession performed;
    const PropertyModel settings = allOn();
    ReportWindow report(performed.session, settings);
    kovatest::TempDir folder;
    const std::string pdf = folder.file("table.pdf");
    int height = 0;
    {
        QPdfWriter writer(QString::fromStdString(pdf));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        QPainter painter(&writer);
        height = report.debrief.printTable(painter, 100, 200, 2200, 50, settings);
    }
    EXPECT_EQ(height, 15 * 50 * 3 / 2);
    const kovatest::ProgramRun run = kovatest::runProgram("/usr/bin/pdftotext", {pdf, "-"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    // The text tool spaces words by their distance: compare without blanks.
    const std::string printed = withoutBlanks(run.output);
    const DebriefEvaluation evaluation = DebriefEvaluation::of(performed.session, settings);
    for (int kind = 0; kind < DebriefEvaluation::ROW_KINDS; ++kind) {
        SCOPED_TRACE(kind);
        std::wstring total, average, remark;
        evaluation.evaluateRow(kind, total, average, remark);
        const auto printedHas = [&](const std::wstring& text) {
            return printed.find(withoutBlanks(narrow(text))) != std::string::npos;
        };
        EXPECT_TRUE(printedHas(DebriefEvaluation::rowLabel(kind)));
        EXPECT_TRUE(printedHas(L"(" + evaluation.recommendedText(kind) + L")"));
        EXPECT_TRUE(printedHas(average.empty() ? total : average));
        EXPECT_TRUE(printedHas(remark));
    }
    EXPECT_NE(printed.find("Recommendedvaluesinbrackets."), std::string::npos);

    // Any paint device: the bars land in the image between label and value.
    QImage image(2400, 1400, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        report.debrief.printTable(painter, 100, 20, 2200, 50, settings);
    }
    image.save(QString::fromStdString((kovatest::binaryDir() / "tests" / "app" / "debriefing-print.png").string()));
    int barPixels = 0;
    for (int x = 600; x < 1500; ++x)
        if (image.pixelColor(x, 20 + 25) != QColor(Qt::white))
            ++barPixels;
    EXPECT_GT(barPixels, 300);
}

// A session of one compression has no complete cycle: no ratio and no
// output were measured. Their rows show neither a figure nor a remark, on the
// list and on paper, as the pause row shows nothing to average; a ratio of 0
// would read "0% / 100%" and "Not OK", an output of 0 "0.0 L/min" and "1 OK groups".
TEST(DebriefReport, aRatioAndAnOutputNotMeasuredShowNoFigureAndNoRemark)
{
    AlgorithmRecord algorithm;
    CommSession session;
    session.setAlgorithm(&algorithm);
    session.trainingMode = 0;
    sessiontest::compressionAt(session, 100);
    sessiontest::restUntil(session, 300);
    const PropertyModel settings = allOn();
    ReportWindow report(session, settings);
    const auto blank = [](std::string text) { return withoutBlanks(std::move(text)).empty(); };
    // Every kind has its row in training mode 0 with every setting on.
    for (int kind : {1, 7}) {
        SCOPED_TRACE(kind);
        EXPECT_TRUE(blank(report.text(kind, 3))) << report.text(kind, 3);
        EXPECT_TRUE(blank(report.text(kind, 5))) << report.text(kind, 5);
        EXPECT_EQ(report.text(kind, 4), narrow(DebriefEvaluation::of(session, settings).recommendedText(kind)));
    }
    EXPECT_EQ(report.text(8, 2), "1") << "the compression itself is counted";
    report.list->grab().toImage().save(
        QString::fromStdString((kovatest::binaryDir() / "tests" / "app" / "debriefing-not-measured.png").string()));

    kovatest::TempDir folder;
    const std::string pdf = folder.file("table.pdf");
    {
        QPdfWriter writer(QString::fromStdString(pdf));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        QPainter painter(&writer);
        report.debrief.printTable(painter, 100, 200, 2200, 50, settings);
    }
    const kovatest::ProgramRun run = kovatest::runProgram("/usr/bin/pdftotext", {pdf, "-"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const std::string printed = withoutBlanks(run.output);
    EXPECT_NE(printed.find("Comp./Relax.ratio"), std::string::npos) << printed;
    EXPECT_NE(printed.find("(50%/50%)"), std::string::npos);
    EXPECT_EQ(printed.find("0%/100%"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("NotOK"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("1OKgroups"), std::string::npos) << printed;
}

} // namespace
