#include "app/debriefing/DebriefReport.h"

#include "Rodezir/PainterTextDevice.h"
#include "Rodezir/TextLines.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "Rodezir/gstringUtil.h"
#include "comm/session/CommSession.h"
#include "controls/BarGaugeWnd.h"
#include "controls/reportctrl/CReportCtrl.h"
#include "gettext/Gettext.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

using namespace kova;

namespace {

enum Column { PERFORMANCE = 0, BAR, TOTAL, AVERAGE, RECOMMENDED, EVALUATION, COLUMNS };

// The report's colour slots.
constexpr COLORREF COLOURS[] = {0xE6E6E6, 0x0000FF, 0x008C00, 0xC00000};
constexpr int FIGURE_COLOUR = 3;
constexpr int RECOMMENDED_COLOUR = 2;

constexpr COLORREF BAR_BACKGROUND = 0xC0C0C0;
constexpr COLORREF BAR_GOOD_RANGE = 0x00C000;
constexpr COLORREF BAR_MARKER = 0xC00000;

// Rows are filled bold; a refresh writes them plain.
constexpr unsigned FILLED_STATE = RVIS_BOLD;

std::string narrow(const std::wstring& text) { return toNarrow(text); }

void setCell(CReportCtrl& report, int row, int subItem, const std::wstring& text, int colour = -1)
{
    ReportItem cell;
    cell.mask = RVIM_TEXT | (colour >= 0 ? RVIM_TEXTCOLOR : 0u);
    cell.item = row;
    cell.subItem = subItem;
    cell.text = narrow(text);
    cell.textColor = colour;
    report.setItem(cell);
}

void setRow(CReportCtrl& report, int row, unsigned state, int extraHeight)
{
    ReportItem description;
    description.mask = RVIM_STATE | RVIM_ROWHEIGHT;
    description.item = row;
    description.subItem = -1;
    description.state = state;
    description.rowHeight = extraHeight;
    report.setItem(description);
}

int appendRow(CReportCtrl& report, const std::wstring& label, int extraHeight, std::intptr_t data)
{
    ReportItem item;
    item.mask = RVIM_TEXT | RVIM_ROWHEIGHT | RVIM_STATE | RVIM_LPARAM;
    item.item = report.getItemCount();
    item.text = narrow(label);
    item.rowHeight = extraHeight;
    item.state = FILLED_STATE;
    item.data = data;
    return report.insertItem(item);
}

// The printer's face: "tahoma" where it exists for the device, else "arial".
QFont printFont(const QPaintDevice* device, int tenthsOfPoint, bool italic)
{
    const std::string face = FontUtil::fontExists("tahoma", device, FontUtil::ANSI_CHARSET) ? "tahoma" : "arial";
    QFont font;
    FontUtil::create(font, face, FontUtil::pointsToLogical(tenthsOfPoint, device), false, italic);
    return font;
}

} // namespace

DebriefReport::DebriefReport(CReportCtrl& report, CommSession& session) : report_(report), session_(session) {}

DebriefReport::~DebriefReport() = default;

void DebriefReport::defineColumns()
{
    struct Definition {
        const char* caption;
        int width;
        int minWidth;
        std::uint32_t format;
    };
    static const Definition COLUMN_DEFINITIONS[COLUMNS] = {
        {"Performance", -1, 0, 0x4184000}, {nullptr, 180, 150, 0x4084000},  {"Total", -1, 150, 0x4084000},
        {"Average", -1, 150, 0x4084000},    {"Recommended", -1, 150, 0x4084000}, {"Evaluation", -1, 150, 0x4084000},
    };
    for (int subItem = 0; subItem < COLUMNS; ++subItem) {
        const Definition& d = COLUMN_DEFINITIONS[subItem];
        ReportSubItem column;
        column.caption = d.caption ? narrow(Gettext::translate(d.caption)) : std::string();
        column.width = d.width;
        column.minWidth = d.minWidth;
        column.format = d.format;
        report_.defineSubItem(subItem, column);
    }
    for (int subItem = 0; subItem < COLUMNS; ++subItem)
        report_.activateSubItem(subItem);
    for (int i = 0; i < 4; ++i)
        report_.insertColor(i, COLOURS[i]);
}

void DebriefReport::createBars(const PropertyModel& settings)
{
    const DebriefEvaluation evaluation = evaluationNow(settings);
    for (int kind : {2, 3, 4, 0, 5, 6, 7, 8, 9, 1, 10, 11, 12}) {
        const DebriefBar span = evaluation.bar(kind);
        auto bar = std::make_shared<BarGaugeWnd>();
        bar->setArea(span.areaLow, span.areaHigh, BAR_BACKGROUND);
        bar->addRange(span.rangeLow, span.rangeHigh, BAR_GOOD_RANGE, span.rangeLeftTip, span.rangeRightTip);
        bar->setScale(span.scaleLeftTip, span.scaleRightTip, span.scaleLeftMargin, span.scaleRightMargin);
        bar->setColor(BAR_MARKER);
        bars_[static_cast<std::size_t>(kind)] = std::move(bar);
    }
}

void DebriefReport::fillRows(const PropertyModel& settings)
{
    const DebriefEvaluation evaluation = evaluationNow(settings);
    for (int kind : DebriefEvaluation::shownKinds(evaluation.trainingMode(), settings)) {
        const int row = appendRow(report_, DebriefEvaluation::rowLabel(kind), 0, 0);
        if (const auto& bar = bars_[static_cast<std::size_t>(kind)])
            report_.setItemBar(row, BAR, bar);
        setCell(report_, row, TOTAL, L" ", FIGURE_COLOUR);
        setCell(report_, row, AVERAGE, L" ", FIGURE_COLOUR);
        setCell(report_, row, RECOMMENDED, evaluation.recommendedText(kind), RECOMMENDED_COLOUR);
        filledKinds_.push_back(kind);
    }
    if (!settings.showDebriefingComments) {
        report_.setLastRowFlag(false);
        return;
    }
    const int textHeight = QFontMetrics(report_.font()).height();
    commentsRow_ = appendRow(report_, Gettext::translate("Evaluation") + L": ", 3 * textHeight + 4, COMMENTS_ROW_DATA);
    report_.setLastRowFlag(true);
}

void DebriefReport::refresh(const PropertyModel& settings, bool onlyWhenChanged)
{
    if (onlyWhenChanged && sameInputs(settings)) {
        redrawCommentsRow();
        return;
    }
    session_.evaluate();
    ++evaluations_;
    lastInputs_ = std::make_unique<Inputs>(inputsNow(settings));

    const DebriefEvaluation evaluation = evaluationNow(settings);
    for (int kind = 0; kind < DebriefEvaluation::ROW_KINDS; ++kind)
        if (const auto& bar = bars_[static_cast<std::size_t>(kind)])
            bar->setOffset(evaluation.marker(kind));
    // The rows stand as they were filled, whatever the settings say now.
    // Only what differs from the last refresh is written into the report.
    written_.resize(filledKinds_.size());
    for (std::size_t row = 0; row < filledKinds_.size(); ++row) {
        const int kind = filledKinds_[row];
        RowTexts now;
        now.remark = L" ";
        evaluation.evaluateRow(kind, now.total, now.average, now.remark);
        now.extraHeight = DebriefEvaluation::closesGroup(kind, evaluation.trainingMode(), settings) ? SEPARATOR_HEIGHT : 0;
        RowTexts& last = written_[row];
        const int r = static_cast<int>(row);
        if (now.total != last.total)
            setCell(report_, r, TOTAL, now.total);
        if (now.average != last.average)
            setCell(report_, r, AVERAGE, now.average);
        if (now.remark != last.remark)
            setCell(report_, r, EVALUATION, now.remark);
        if (now.extraHeight != last.extraHeight || !last.plain)
            setRow(report_, r, 0, now.extraHeight);
        now.plain = true;
        last = std::move(now);
    }
    for (int subItem : {PERFORMANCE, TOTAL, AVERAGE, RECOMMENDED, EVALUATION})
        report_.autoSizeColumn(subItem);
    report_.update();
}

void DebriefReport::redrawCommentsRow()
{
    if (commentsRow_ < 0)
        return;
    const QRect line = report_.getCellRect(report_.getPositionOfItem(commentsRow_), 0);
    const QRect area = report_.itemArea();
    report_.update(QRect(area.left(), line.top(), area.width(), area.bottom() - line.top() + 1));
}

void DebriefReport::drawExtraArea(const ReportNotify& area, const std::wstring& recommendation) const
{
    if (!area.painter)
        return;
    QPainter& painter = *area.painter;
    const QRect& r = area.rect;
    if (area.data == COMMENTS_ROW_DATA) {
        painter.setFont(report_.font());
        painter.setPen(Qt::black);
        PainterTextDevice device(painter);
        const TextLines lines(device, recommendation, Gettext::instance().isEastAsian());
        std::vector<int> widths;
        lines.layout(&device, r.width() - 10, r.left() + 10, r.top(), TextLines::ALIGN_LEFT, false, widths);
        return;
    }
    painter.fillRect(r, Qt::white);
    const int middle = (r.top() + r.top() + r.height()) / 2;
    painter.fillRect(QRect(r.left(), middle - 1, r.width(), 2), Qt::black);
}

int DebriefReport::printTable(QPainter& painter, int x, int y, int width, int lineHeight,
                              const PropertyModel& settings) const
{
    const DebriefEvaluation evaluation = evaluationNow(settings);
    const int mode = evaluation.trainingMode();
    const int slotCount = DebriefEvaluation::printSlotCount(mode, settings);
    const auto slotTop = [&](int i) { return y + (3 * i * lineHeight) / 2; };

    struct Line {
        int kind;
        std::wstring label, value, bracketed, evaluation;
    };
    std::vector<Line> lines;
    for (int kind : DebriefEvaluation::shownKinds(mode, settings)) {
        std::wstring total, average, remark;
        evaluation.evaluateRow(kind, total, average, remark);
        lines.push_back({kind, DebriefEvaluation::rowLabel(kind), average.empty() ? total : average,
                         L" (" + evaluation.recommendedText(kind) + L")", remark});
    }

    painter.save();
    const QFont font = printFont(painter.device(), 90, false);
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const auto textWidth = [&](const std::wstring& text) {
        return metrics.horizontalAdvance(QString::fromStdWString(text));
    };
    int wLabel = 0, wValue = 0, wRec = 0, wEval = 0;
    for (const Line& line : lines) {
        wLabel = std::max(wLabel, textWidth(line.label));
        wValue = std::max(wValue, textWidth(line.value));
        wRec = std::max(wRec, textWidth(line.bracketed));
        wEval = std::max(wEval, textWidth(line.evaluation));
    }
    const int h = metrics.height();

    const double left = x;
    const double right = x + width;
    const double w = width;
    const int xLabel = x;
    const int xBar1 = static_cast<int>(left + wLabel + 0.03 * w);
    const int xBar2 = static_cast<int>(right - wEval - wRec - wValue - 0.05 * w);
    const int xValue = static_cast<int>(right - wEval - wRec - wValue - 0.03 * w);
    const int xRec = static_cast<int>(right - wEval - wRec - 0.02 * w);
    const int xEval = static_cast<int>(right - wEval);

    PainterTextDevice device(painter);
    for (std::size_t j = 0; j < lines.size(); ++j) {
        const Line& line = lines[j];
        const int top = slotTop(static_cast<int>(j));
        const int bottom = top + lineHeight;
        const int textTop = top + static_cast<int>((bottom - top - h) * 0.5);
        device.drawText(xLabel, textTop, line.label);
        device.drawText(xValue, textTop, line.value);
        device.drawText(xRec, textTop, line.bracketed);
        device.drawText(xEval, textTop, line.evaluation);
        if (const auto& bar = bars_[static_cast<std::size_t>(line.kind)]; bar && xBar2 > xBar1)
            bar->drawInto(painter, xBar1, top, xBar2, bottom, true);
    }

    painter.setFont(printFont(painter.device(), 80, true));
    PainterTextDevice footnote(painter);
    const int top = slotTop(static_cast<int>(lines.size()));
    footnote.drawText(xRec, top + static_cast<int>((lineHeight - h) * 0.5),
                      Gettext::translate("Recommended values in brackets."));
    painter.restore();
    return slotCount * lineHeight * 3 / 2;
}

BarGaugeWnd* DebriefReport::bar(int kind) const
{
    if (kind < 0 || kind >= DebriefEvaluation::ROW_KINDS)
        return nullptr;
    return bars_[static_cast<std::size_t>(kind)].get();
}

DebriefReport::Inputs DebriefReport::inputsNow(const PropertyModel& settings) const
{
    Inputs inputs;
    inputs.samples = session_.manData.size();
    inputs.algorithm = session_.algor ? *session_.algor : AlgorithmRecord();
    inputs.trainingMode = session_.trainingMode;
    inputs.settings = settings;
    return inputs;
}

bool DebriefReport::sameInputs(const PropertyModel& settings) const
{
    if (!lastInputs_)
        return false;
    const Inputs& last = *lastInputs_;
    static const AlgorithmRecord noAlgorithm;
    return last.samples == session_.manData.size() && last.trainingMode == session_.trainingMode &&
           last.algorithm == (session_.algor ? *session_.algor : noAlgorithm) && last.settings == settings;
}

DebriefEvaluation DebriefReport::evaluationNow(const PropertyModel& settings) const
{
    return DebriefEvaluation::of(session_, settings);
}
