#include "app/graphs/GraphView.h"

#include "Rodezir/BitmapDraw.h"
#include "Rodezir/LogStream.h"
#include "app/graphs/AxisCtrl.h"
#include "app/graphs/GraphDoc.h"
#include "app/graphs/GraphLabelLayout.h"
#include "app/graphs/GraphSession.h"
#include "app/graphs/GraphSource.h"
#include "app/graphs/GraphText.h"
#include "app/graphs/GraphToggles.h"
#include "app/graphs/ToolBar.h"
#include "comm/session/CommSession.h"
#include "config/Configuration.h"
#include "config/PropertyModel.h"
#include "controls/HoverHintStatic.h"
#include "gettext/Gettext.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <map>

namespace {

const QColor GRID_COLOUR(150, 150, 150);
const QColor ECG_GRID_COLOUR(215, 215, 215);
const QColor FRAME_LIGHT(222, 223, 222);
const QColor FRAME_SHADOW(132, 130, 132);
const QColor FRAME_FACE(192, 192, 192);
constexpr int MARKER_SIZE = 16;
constexpr int SCREEN_MARK_MARGIN = 2;
// Client x positions the pane ever repaints.
constexpr int MAX_CLIENT_X = 10000;
// Sample indexes the pane ever draws: five days at ten samples a second.
constexpr int MAX_DRAW_INDEX = 5 * 24 * 60 * 60 * 10 - 1;
// ECG paper lines closer than this many pixels would paint the pane grey.
constexpr int MIN_ECG_LINE_SPACING = 3;

QColor colourOf(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb)); }

QString qtext(const std::wstring& text) { return QString::fromStdWString(text); }

// A problem marker bitmap as loaded (white on paper is left out cell by cell)
// and with white made transparent for the screen; loaded once each.
struct MarkerPicture {
    QImage plain;
    QImage masked;
};

const MarkerPicture& markerPicture(int bitmapId)
{
    static std::map<int, MarkerPicture> pictures;
    const auto found = pictures.find(bitmapId);
    if (found != pictures.end())
        return found->second;
    MarkerPicture picture;
    if (const auto loaded = kova::loadBitmapResource(bitmapId)) {
        picture.plain = loaded->convertToFormat(QImage::Format_RGB32);
        picture.masked = picture.plain.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < picture.masked.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.masked.scanLine(y));
            for (int x = 0; x < picture.masked.width(); ++x)
                if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                    line[x] = qRgba(0, 0, 0, 0);
        }
    } else {
        LogStream::instance() << "Could not load the marker bitmap " << bitmapId << "\n";
    }
    return pictures.emplace(bitmapId, picture).first->second;
}

// The toolbar pictures of marks: every session's strip is the same bitmap 280.
const ToolBar& markPictures()
{
    static const ToolBar pictures;
    return pictures;
}

// Decimates a run of curve points to at most four per pixel column (the
// first, the lowest, the highest and the last, in sample order), which draws
// the same pixels as the whole run at a fraction of the work.
class ColumnPolyline {
public:
    explicit ColumnPolyline(std::size_t expected) { points_.reserve(std::min<std::size_t>(expected, 4 * 16384)); }

    void add(int x, int y)
    {
        if (!open_ || x != columnX_) {
            flush();
            open_ = true;
            columnX_ = x;
            first_ = last_ = low_ = high_ = y;
            lowAfterHigh_ = false;
            count_ = 1;
            return;
        }
        if (y < low_) {
            low_ = y;
            lowAfterHigh_ = true;
        }
        if (y > high_) {
            high_ = y;
            lowAfterHigh_ = false;
        }
        last_ = y;
        ++count_;
    }

    const QPolygon& finish()
    {
        flush();
        return points_;
    }

private:
    void push(int y)
    {
        const QPoint point(columnX_, y);
        if (points_.isEmpty() || points_.back() != point)
            points_.append(point);
    }
    void flush()
    {
        if (!open_)
            return;
        push(first_);
        if (count_ > 1) {
            const int a = lowAfterHigh_ ? high_ : low_;
            const int b = lowAfterHigh_ ? low_ : high_;
            push(a);
            push(b);
            push(last_);
        }
        open_ = false;
    }

    QPolygon points_;
    bool open_ = false;
    int columnX_ = 0;
    int first_ = 0, last_ = 0, low_ = 0, high_ = 0;
    bool lowAfterHigh_ = false;
    int count_ = 0;
};

} // namespace

GraphView* GraphView::createView(GraphDoc& doc) { return new GraphView(doc, doc.getSource().inverted); }

GraphView::GraphView(GraphDoc& doc, bool inverted) : graphDoc_(doc), inverted_(inverted)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
    GraphSource& source = doc.getSource();
    if (source.dataSignal)
        ::connect(*source.dataSignal, *this, &GraphView::onMarkerSignal);
    if (source.groupSignal)
        ::connect(*source.groupSignal, *this, &GraphView::onGroupSignal);
    doc.addView(*this);
}

GraphView::~GraphView()
{
    graphDoc_.removeView(*this);
    setAxisCtrl(nullptr);
}

bool GraphView::Create(QWidget* parent)
{
    KOVA_ASSERT(parent != nullptr);
    if (!parent)
        return false;
    setParent(parent);
    created_ = true;
    show();
    return true;
}

void GraphView::setAxisCtrl(AxisCtrl* axis)
{
    if (axisCtrl_)
        axisCtrl_->removeGraphView(*this);
    axisCtrl_ = axis;
    if (axisCtrl_)
        axisCtrl_->addGraphView(*this);
}

GraphSession* GraphView::session() const { return axisCtrl_ ? &axisCtrl_->getSession() : nullptr; }

GraphToggles* GraphView::toggles() const { return axisCtrl_ ? &axisCtrl_->getSession().graphToggles() : nullptr; }

GraphScale GraphView::scale() const
{
    GraphScale s;
    s.plotLeft = plotLeft_;
    s.plotTop = plotTop_;
    s.plotWidth = plotWidth_;
    s.plotHeight = plotHeight_;
    if (axisCtrl_) {
        s.leftIndex = axisCtrl_->getLeftIndex();
        s.viewIndexes = axisCtrl_->getViewIndexes();
    }
    s.fullScale = graphDoc_.getSource().fullScale;
    s.inverted = inverted_;
    return s;
}

std::wstring GraphView::getUnit() const { return graphDoc_.getSource().unit; }

int GraphView::lastDrawableIndex() const
{
    if (!axisCtrl_)
        return -1;
    // The axis keeps what the session handed over; the store can never hold
    // fewer samples, but no sample past either is ever read.
    return std::min({axisCtrl_->getLastUpdateIndex(), graphDoc_.getSource().sampleCount() - 1, MAX_DRAW_INDEX});
}

int GraphView::curvePenWidth() const
{
    if (ecgStyle_ || !axisCtrl_)
        return 1;
    return axisCtrl_->millisecondsOf(axisCtrl_->getViewIndexes()) <= WIDE_PEN_WINDOW_MS ? 2 : 1;
}

bool GraphView::showsGroupLabels() const
{
    if (!axisCtrl_ || !graphDoc_.getSource().hasGroup())
        return false;
    const GraphToggles* t = toggles();
    if (!t->showCrRatio() && !t->showCardiacOutput())
        return false;
    // Five minutes in whole samples, truncated as every window length is:
    // a window of exactly five minutes is not under five minutes.
    const double rate = axisCtrl_->getCurrentFreq();
    const double limit = (rate * GROUP_LABEL_WINDOW_MS + 500.0) * 0.001;
    if (!(limit < static_cast<double>(INT32_MAX)))
        return true;
    return axisCtrl_->getViewIndexes() < static_cast<int>(limit);
}

int GraphView::labelHeight(QPainter& painter) const { return painter.fontMetrics().height(); }

// --- the back buffer ---------------------------------------------------------

void GraphView::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    // A pane smaller than its sunken edge (a small surveillance tile gives
    // its panes a few pixels) has an empty client area, not a negative one.
    const QSize size = contentsRect().size().expandedTo(QSize(0, 0));
    KOVA_ASSERT(size.width() >= 0 && size.height() >= 0);
    plotLeft_ = plotTop_ = 0;
    plotWidth_ = size.width();
    plotHeight_ = size.height();
    if (memBitmap_.size() != QSize(plotWidth_, plotHeight_))
        memBitmap_ = QImage(std::max(plotWidth_, 1), std::max(plotHeight_, 1), QImage::Format_RGB32);
    if (axisCtrl_)
        drawBackground();
}

void GraphView::redrawAll()
{
    if (!created_)
        return;
    drawBackground();
    update();
}

void GraphView::drawBackground()
{
    KOVA_ASSERT(axisCtrl_ != nullptr);
    if (!axisCtrl_ || memBitmap_.isNull() || plotWidth_ <= 0 || plotHeight_ <= 0)
        return;
    QPainter painter(&memBitmap_);
    paintBackground(painter);
    painter.end();
    refreshReadout();
}

void GraphView::paintBackground(QPainter& painter)
{
    if (!isPrinting_) {
        const bool running = session() && session()->isRunning();
        painter.fillRect(QRect(plotLeft_, plotTop_, plotWidth_, plotHeight_),
                         running ? QColor(Qt::white) : QColor::fromRgb(STORED_BACKGROUND));
    }
    if (!ecgStyle_)
        paintBand(painter);
    paintGrid(painter);
    painter.setFont(axisCtrl_->getFont());
    if (showsValueLabels(labelHeight(painter)))
        paintValueLabels(painter);
    if (isPrinting_) {
        const int fontHeight = labelHeight(painter);
        painter.setPen(Qt::black);
        const QRect nameBox(plotLeft_ + 10, inverted_ ? plotTop_ : plotTop_ + plotHeight_ - fontHeight, plotWidth_,
                            fontHeight);
        painter.drawText(nameBox, Qt::AlignLeft | (inverted_ ? Qt::AlignTop : Qt::AlignBottom),
                         qtext(graphDoc_.getSource().name));
    }
    const int last = lastDrawableIndex();
    const int right = static_cast<int>(std::min<std::int64_t>(scale().rightIndex(), last));
    if (!isPrinting_ && toggles()->showEvents())
        for (const GraphEvent& mark : graphDoc_.getMarks())
            if (markVisible(mark))
                paintMark(painter, mark);
    if (axisCtrl_->getLeftIndex() <= right)
        paintCurve(painter, axisCtrl_->getLeftIndex(), right, true);
    // Paper shows every mark in range: the Events switch is for the screen.
    if (isPrinting_)
        for (const GraphEvent& mark : graphDoc_.getMarks())
            if (markVisible(mark))
                paintMark(painter, mark);
}

void GraphView::paintBand(QPainter& painter)
{
    const GraphSource& source = graphDoc_.getSource();
    const GraphScale s = scale();
    const int top = std::min(s.yOf(source.upperLimit), s.yOf(source.lowerLimit));
    const int bottom = std::max(s.yOf(source.upperLimit), s.yOf(source.lowerLimit));
    painter.fillRect(QRect(plotLeft_, top, plotWidth_, bottom - top),
                     QColor::fromRgb(isPrinting_ ? BAND_ON_PAPER : BAND_ON_SCREEN));
}

void GraphView::paintGrid(QPainter& painter)
{
    const GraphScale s = scale();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (!ecgStyle_) {
        KOVA_ASSERT(axisCtrl_->indexStep() > 0);
        painter.setPen(QPen(GRID_COLOUR, 1, Qt::DotLine));
        for (const int index : axisCtrl_->labelIndexes()) {
            const int x = s.xOf(index);
            painter.drawLine(x, plotTop_, x, plotTop_ + plotHeight_);
        }
        painter.restore();
        return;
    }
    painter.setPen(QPen(ECG_GRID_COLOUR, 1, Qt::SolidLine));
    const std::int64_t left = s.leftIndex;
    std::int64_t step = 5;
    while (step * plotWidth_ < static_cast<std::int64_t>(MIN_ECG_LINE_SPACING) * s.viewIndexes && step < INT32_MAX / 5)
        step *= 5;
    const std::int64_t first = left - left % step + step;
    for (std::int64_t index = first; index < s.rightIndex(); index += step) {
        const int x = s.xOf(index);
        painter.drawLine(x, plotTop_, x, plotTop_ + plotHeight_);
    }
    const int lineStart = s.xOf(first - step);
    for (int k = 1; k <= 5; ++k) {
        const int y = plotTop_ + k * (plotHeight_ / 6);
        painter.drawLine(lineStart, y, lineStart + plotWidth_, y);
    }
    painter.restore();
}

std::vector<GraphView::ValueLabel> GraphView::valueLabels(const QFontMetrics& metrics) const
{
    const GraphSource& source = graphDoc_.getSource();
    const GraphScale s = scale();
    // Far: top-aligned on upward curves, bottom-aligned on the inverted one;
    // near: the other way. So the limits' labels lie inside the band, each
    // next to its own edge, and the scale's ends inside the pane.
    const bool far = !inverted_;
    const bool nearAlign = inverted_;
    std::vector<QString> texts;
    std::vector<GraphLabelLayout::Label> wanted;
    const auto add = [&](int line, bool below, const QString& text) {
        texts.push_back(text);
        wanted.push_back({line, below, metrics.horizontalAdvance(text) + 2, metrics.height()});
    };
    // In the order in which they keep their room when the pane is short.
    const int fullScaleLine = inverted_ ? plotTop_ + plotHeight_ : plotTop_ - 1;
    const int zeroLine = inverted_ ? plotTop_ : plotTop_ + plotHeight_ - 1;
    add(fullScaleLine, far, qtext(GraphText::valueLabel(source.fullScale, source.unit)));
    add(zeroLine, nearAlign, qtext(GraphText::valueLabel(0.0, source.unit)));
    // A band too narrow for both labels inside has them outside, around it,
    // each still next to its own edge.
    const int upperLine = s.yOf(source.upperLimit);
    const int lowerLine = s.yOf(source.lowerLimit);
    const bool inside = std::abs(upperLine - lowerLine) >= 2 * metrics.height();
    add(upperLine, inside ? far : nearAlign, qtext(GraphText::valueLabel(source.upperLimit, source.unit)));
    add(lowerLine, inside ? nearAlign : far, qtext(GraphText::valueLabel(source.lowerLimit, source.unit)));
    if (source.hasGroup()) {
        // The captions of the group labels' rows.
        const int row = groupLabelRow(metrics.height());
        if (toggles()->showCrRatio())
            add(row, nearAlign, qtext(Gettext::translate("C/R ratio")));
        if (toggles()->showCardiacOutput())
            add(row + metrics.height() + 1, nearAlign, qtext(Gettext::translate("CO. L/min")));
    }

    const std::vector<std::optional<int>> tops = GraphLabelLayout::place(wanted, plotTop_, plotHeight_, plotWidth_);
    std::vector<ValueLabel> placed;
    const int right = plotLeft_ + plotWidth_;
    for (std::size_t i = 0; i < wanted.size(); ++i)
        if (tops[i])
            placed.push_back({QRect(right - wanted[i].width, *tops[i], wanted[i].width, wanted[i].height), texts[i]});
    return placed;
}

std::vector<GraphView::ValueLabel> GraphView::valueLabels() const
{
    if (!axisCtrl_)
        return {};
    const QFontMetrics metrics(axisCtrl_->getFont());
    if (!showsValueLabels(metrics.height()))
        return {};
    return valueLabels(metrics);
}

bool GraphView::showsValueLabels(int labelHeight) const { return !ecgStyle_ && plotHeight_ >= 2 * labelHeight; }

int GraphView::groupLabelRow(int labelHeight) const
{
    const int markHeight = isPrinting_ ? 2 * plotWidth_ / 100 : ToolBar::BUTTON_HEIGHT + 2;
    const int margin = isPrinting_ ? plotHeight_ / 100 : SCREEN_MARK_MARGIN;
    return inverted_ ? plotTop_ + std::max(0, plotHeight_ - 2 * (labelHeight + margin) - markHeight)
                     : plotTop_ + std::min(markHeight + 2 * margin, plotHeight_);
}

void GraphView::paintValueLabels(QPainter& painter)
{
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const ValueLabel& label : valueLabels(painter.fontMetrics()))
        painter.drawText(label.box, Qt::AlignRight | Qt::AlignTop, label.text);
}

// --- the curve ---------------------------------------------------------------

void GraphView::drawRange(int from, int to)
{
    if (!axisCtrl_ || memBitmap_.isNull() || plotWidth_ <= 0 || plotHeight_ <= 0)
        return;
    QPainter painter(&memBitmap_);
    paintCurve(painter, from, to, false);
}

void GraphView::paintCurve(QPainter& painter, int from, int to, bool withGroups)
{
    KOVA_ASSERT(from <= to);
    const int last = lastDrawableIndex();
    from = std::max(from, 0);
    to = std::min(to, last);
    if (from > to)
        return;
    const GraphSource& source = graphDoc_.getSource();
    const GraphScale s = scale();
    const bool problems = toggles()->showProblems();
    ColumnPolyline line(static_cast<std::size_t>(to - from + 1));
    std::vector<QPoint> flagged;
    for (int index = from; index <= to; ++index) {
        const GraphSample sample = source.value(index);
        const int x = s.xOf(index);
        const int y = s.yOf(sample.value);
        line.add(x, y);
        if (!sample.flagged)
            continue;
        if (problems)
            flagged.emplace_back(x, y);
        if (ecgStyle_ && index > lastRhythmCheckIndex_) {
            lastRhythmCheckIndex_ = index;
            if (rhythmCheck_)
                rhythmCheck_();
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QColor colour = colourOf(source.colour);
    if (isPrinting_ && blackAndWhite_)
        colour = Qt::black;
    const int width = isPrinting_ ? 1 : curvePenWidth();
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPolygon& points = line.finish();
    if (points.size() == 1)
        painter.drawPoint(points.front());
    else
        painter.drawPolyline(points);
    painter.restore();
    for (const QPoint& point : flagged)
        paintMarker(painter, point.x(), point.y());
    if (!withGroups || !showsGroupLabels())
        return;
    for (const auto& [key, group] : source.data().seriesSummaries())
        if (group.firstStart <= to && group.nextStart > from)
            paintGroupLabels(painter, group);
}

void GraphView::paintMarker(QPainter& painter, int x, int y) const
{
    const MarkerPicture& picture = markerPicture(graphDoc_.getSource().markerBitmap);
    const QImage& image = picture.plain;
    if (image.isNull())
        return;
    const int side = isPrinting_ ? std::max(1, plotWidth_ / 70) : MARKER_SIZE;
    // A marker at a peak next to the edge stays inside the plot, over the peak.
    const int wanted = inverted_ ? y : y - side;
    const int top = std::max(plotTop_, std::min(wanted, plotTop_ + plotHeight_ - side));
    if (!isPrinting_) {
        painter.drawImage(x - MARKER_SIZE / 2, top, picture.masked);
        return;
    }
    kova::drawBitmapAsRectangles(painter, image, Qt::white, x - side / 2, top, side, side, 0, 0, image.width(),
                                 image.height());
}

void GraphView::paintGroupLabels(QPainter& painter, const SeriesSummary& group)
{
    const GraphScale s = scale();
    painter.save();
    painter.setFont(axisCtrl_->getFont());
    const int height = labelHeight(painter);
    const int firstRow = groupLabelRow(height);
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    const auto label = [&](int fromIndex, int toIndex, int top, const QString& text) {
        const int x1 = s.xOf(fromIndex);
        const int x2 = s.xOf(toIndex);
        const int textWidth = painter.fontMetrics().horizontalAdvance(text);
        const int centre = (x1 + x2) / 2;
        const int textLeft = centre - textWidth / 2;
        painter.drawText(QRect(textLeft, top, textWidth + 2, height), Qt::AlignLeft | Qt::AlignTop, text);
        if (textWidth >= x2 - x1)
            return;
        // A bracket from each end of the span to the text.
        const int middle = top + height / 2;
        painter.drawLine(x1, top + 2, x1, top + height - 2);
        painter.drawLine(x1, middle, textLeft - 2, middle);
        painter.drawLine(textLeft + textWidth + 2, middle, x2, middle);
        painter.drawLine(x2, top + 2, x2, top + height - 2);
    };
    if (toggles()->showCrRatio()) {
        const bool asPercent = Configuration::instance().getPropertyModel().ratioAsPercent;
        label(group.firstStart, group.lastEnd, firstRow, qtext(GraphText::crRatio(group.compressionPercent, asPercent)));
    }
    if (toggles()->showCardiacOutput())
        label(group.firstStart, group.nextStart, firstRow + height + 1,
              qtext(GraphText::cardiacOutput(group.cardiacOutput)));
    painter.restore();
}

void GraphView::drawNewSamples(int from, int to)
{
    drawRange(from, to);
    copyToScreen(from, to);
}

void GraphView::copyToScreen(int from, int to)
{
    if (!created_ || !axisCtrl_)
        return;
    const GraphScale s = scale();
    int left = s.xOf(from);
    const int right = s.xOf(to);
    if (left > 0)
        --left;
    left = std::clamp(left, 0, MAX_CLIENT_X);
    KOVA_ASSERT(left <= right);
    // A thick pen and the markers reach a few pixels past the samples' columns.
    repaintClient(QRect(left - MARKER_SIZE / 2, 0, right - left + MARKER_SIZE + 2, plotHeight_));
}

void GraphView::repaintClient(const QRect& clientRect)
{
    if (created_)
        update(clientRect.translated(contentsRect().topLeft()));
}

// --- markers, groups and marks -------------------------------------------------

void GraphView::onMarkerSignal(int index)
{
    if (!created_ || !axisCtrl_ || !toggles()->showProblems())
        return;
    const GraphScale s = scale();
    // A flag on a sample not yet drawn is drawn with its sample.
    if (index < s.leftIndex || index > s.rightIndex() || index > lastDrawableIndex())
        return;
    const int x = s.xOf(index);
    const int y = s.yOf(graphDoc_.getSource().value(index).value);
    {
        QPainter painter(&memBitmap_);
        paintMarker(painter, x, y);
    }
    repaintClient(QRect(x - MARKER_SIZE, y - MARKER_SIZE, 2 * MARKER_SIZE, 2 * MARKER_SIZE + 1));
}

void GraphView::onGroupSignal(int index)
{
    if (!created_ || !axisCtrl_)
        return;
    const GraphScale s = scale();
    if (index < s.leftIndex || index > s.rightIndex() || index > lastDrawableIndex())
        return;
    const SeriesSummary* group = graphDoc_.getGroup(index);
    KOVA_ASSERT(group != nullptr);
    if (!group || !showsGroupLabels())
        return;
    {
        QPainter painter(&memBitmap_);
        paintGroupLabels(painter, *group);
    }
    update();
}

bool GraphView::markVisible(const GraphEvent& mark) const
{
    if (!axisCtrl_)
        return false;
    const std::int64_t right = std::min<std::int64_t>(scale().rightIndex(), lastDrawableIndex());
    return axisCtrl_->getLeftIndex() < mark.sampleIndex && mark.sampleIndex <= right;
}

QRect GraphView::markColumn(const GraphEvent& mark) const
{
    const int x = scale().xOf(mark.sampleIndex);
    return QRect(x - ToolBar::BUTTON_WIDTH, 0, 2 * ToolBar::BUTTON_WIDTH, plotHeight_);
}

void GraphView::paintMark(QPainter& painter, const GraphEvent& mark)
{
    const GraphScale s = scale();
    const int x = s.xOf(mark.sampleIndex);
    const int boxWidth = isPrinting_ ? std::max(4, 2 * plotWidth_ / 100) : ToolBar::BUTTON_WIDTH + 2;
    const int boxHeight = isPrinting_ ? boxWidth : ToolBar::BUTTON_HEIGHT + 2;
    const int margin = isPrinting_ ? plotHeight_ / 100 : SCREEN_MARK_MARGIN;
    const int left = x - boxWidth / 2;
    const int top = inverted_ ? plotTop_ + plotHeight_ - margin - boxHeight : plotTop_ + margin;
    const int right = left + boxWidth - 1;
    const int bottom = top + boxHeight - 1;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int curveY = s.yOf(graphDoc_.getSource().value(mark.sampleIndex).value);
    if (curveY < top || curveY > bottom) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawLine(x, curveY < top ? top : bottom, x, curveY);
    }
    painter.fillRect(QRect(left, top, boxWidth, boxHeight), FRAME_FACE);
    painter.setPen(QPen(FRAME_LIGHT, 1));
    painter.drawLine(left, top, right, top);
    painter.drawLine(left, top, left, bottom);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(right, top, right, bottom);
    painter.setPen(QPen(FRAME_SHADOW, 1));
    painter.drawLine(left + 1, bottom - 1, right - 1, bottom - 1);
    painter.drawLine(right - 1, top + 1, right - 1, bottom - 1);
    if (isPrinting_)
        markPictures().showImage(mark, painter, left + 1, top + 1, boxWidth - 3, boxHeight - 3);
    else
        markPictures().drawImage(mark, painter, left + 1, top + 1);
    painter.restore();
}

void GraphView::onMark(const GraphEvent& mark)
{
    if (!created_ || !axisCtrl_ || !toggles()->showEvents() || !markVisible(mark) || memBitmap_.isNull())
        return;
    {
        QPainter painter(&memBitmap_);
        paintMark(painter, mark);
    }
    repaintClient(markColumn(mark));
}

// --- selections ----------------------------------------------------------------

QRect GraphView::zoomRect(std::pair<int, int> range) const
{
    if (range.first < 0)
        return {};
    const GraphScale s = scale();
    const int left = s.xOf(std::min(range.first, range.second)) - 1;
    const int right = s.xOf(std::max(range.first, range.second));
    return QRect(left, 0, right - left + 1, plotHeight_);
}

void GraphView::showZoomSelection(int from, int to)
{
    const QRect before = zoomRect(zoomSelection_);
    zoomSelection_ = from < 0 ? std::make_pair(-1, -1) : std::make_pair(from, to);
    repaintClient(before.united(zoomRect(zoomSelection_)));
}

std::pair<int, int> GraphView::clampedSpan() const
{
    if (spanSelection_.first < 0 || !axisCtrl_)
        return {-1, -1};
    const GraphScale s = scale();
    const int right = static_cast<int>(std::min<std::int64_t>(s.rightIndex(), INT32_MAX));
    const int a = std::clamp(std::min(spanSelection_.first, spanSelection_.second), s.leftIndex, right);
    const int b = std::clamp(std::max(spanSelection_.first, spanSelection_.second), s.leftIndex, right);
    KOVA_ASSERT(a <= b);
    return {a, b};
}

GraphView::SpanLayout GraphView::spanLayout(std::pair<int, int> range) const
{
    SpanLayout layout;
    if (range.first < 0 || !axisCtrl_)
        return layout;
    const GraphScale s = scale();
    const std::int64_t span = axisCtrl_->millisecondsOf(range.second) - axisCtrl_->millisecondsOf(range.first);
    layout.text = qtext(GraphText::spanLength(span));
    const QFontMetrics metrics(axisCtrl_->getFont());
    layout.x1 = s.xOf(range.first);
    layout.x2 = s.xOf(range.second);
    const int boxWidth = metrics.horizontalAdvance(layout.text) + 10;
    const int boxHeight = metrics.height() + 2;
    layout.box = QRect((layout.x1 + layout.x2) / 2 - boxWidth / 2, plotHeight_ / 2 - boxHeight / 2, boxWidth, boxHeight);
    layout.covered = QRect(QPoint(std::min(layout.x1, layout.box.left()) - 1, 0),
                           QPoint(std::max(layout.x2, layout.box.right()) + 1, plotHeight_))
                         .intersected(QRect(0, 0, plotWidth_, plotHeight_));
    return layout;
}

void GraphView::showSpanSelection(int from, int to)
{
    const QRect before = spanLayout(clampedSpan()).covered;
    spanSelection_ = from < 0 ? std::make_pair(-1, -1) : std::make_pair(from, to);
    repaintClient(before.united(spanLayout(clampedSpan()).covered));
}

void GraphView::paintSpanSelection(QPainter& painter)
{
    const SpanLayout layout = spanLayout(clampedSpan());
    if (layout.text.isEmpty())
        return;
    const QRect& box = layout.box;
    painter.setFont(axisCtrl_->getFont());
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    for (const int x : {layout.x1, layout.x2}) {
        if (x >= box.left() && x <= box.right()) {
            painter.drawLine(x, 0, x, box.top() - 1);
            painter.drawLine(x, box.bottom() + 1, x, plotHeight_);
        } else {
            painter.drawLine(x, 0, x, plotHeight_);
        }
    }
    const int middle = box.center().y();
    if (layout.x1 < box.left())
        painter.drawLine(layout.x1, middle, box.left() - 1, middle);
    if (layout.x2 > box.right())
        painter.drawLine(box.right() + 1, middle, layout.x2, middle);
    painter.fillRect(box, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.drawText(box, Qt::AlignCenter, layout.text);
}

// --- the window ----------------------------------------------------------------

void GraphView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QPoint origin = contentsRect().topLeft();
    painter.setClipRect(contentsRect());
    if (memBitmap_.isNull())
        return;
    const QRect dirty = event->rect().translated(-origin).intersected(memBitmap_.rect());
    painter.drawImage(dirty.topLeft() + origin, memBitmap_, dirty);
    painter.translate(origin);
    if (zoomSelection_.first >= 0) {
        const QRect strip = zoomRect(zoomSelection_).intersected(memBitmap_.rect());
        QImage inverted = memBitmap_.copy(strip);
        inverted.invertPixels();
        painter.drawImage(strip.topLeft(), inverted);
    }
    if (axisCtrl_)
        paintSpanSelection(painter);
}

QPoint GraphView::clientPos(const QPointF& widgetPos) const
{
    return widgetPos.toPoint() - contentsRect().topLeft();
}

std::optional<int> GraphView::indexUnderCursor() const
{
    if (!created_ || !isVisible())
        return std::nullopt;
    const QPoint global = cursorReader_ ? cursorReader_() : QCursor::pos();
    const QPoint client = mapFromGlobal(global) - contentsRect().topLeft();
    if (!QRect(0, 0, plotWidth_, plotHeight_).contains(client))
        return std::nullopt;
    return indexAt(client.x());
}

void GraphView::captureMouse() { grabMouse(); }

void GraphView::releaseMouseCapture()
{
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

std::wstring GraphView::readoutAt(int x, int y) const
{
    const std::int64_t ms = axisCtrl_ ? axisCtrl_->millisecondsOf(indexAt(x)) : 0;
    return GraphText::readout(ms, valueAt(y), getUnit());
}

void GraphView::updateReadout(const QPoint& client, const QPoint& global)
{
    if (!readoutTarget_ || !axisCtrl_ || !QRect(0, 0, plotWidth_, plotHeight_).contains(client))
        return;
    readoutTarget_->setHint(global.x(), global.y(), qtext(readoutAt(client.x(), client.y())));
}

void GraphView::refreshReadout()
{
    if (!readoutTarget_ || !created_)
        return;
    const QPoint global = cursorReader_ ? cursorReader_() : QCursor::pos();
    updateReadout(mapFromGlobal(global) - contentsRect().topLeft(), global);
}

void GraphView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint client = clientPos(event->position());
    updateReadout(client, event->globalPosition().toPoint());
    if (isVisible() && axisCtrl_)
        axisCtrl_->onMouseMove(*this, indexAt(client.x()));
    QFrame::mouseMoveEvent(event);
}

void GraphView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isVisible() && axisCtrl_)
        axisCtrl_->onLButtonDown(*this, indexAt(clientPos(event->position()).x()));
    QFrame::mousePressEvent(event);
}

void GraphView::mouseReleaseEvent(QMouseEvent* event)
{
    if (isVisible() && axisCtrl_) {
        const int index = indexAt(clientPos(event->position()).x());
        if (event->button() == Qt::LeftButton)
            axisCtrl_->onLButtonUp(*this, index);
        else if (event->button() == Qt::RightButton)
            axisCtrl_->onRButtonUp(*this, index);
    }
    QFrame::mouseReleaseEvent(event);
}

void GraphView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isVisible() && axisCtrl_)
        axisCtrl_->onDoubleClick(*this, indexAt(clientPos(event->position()).x()));
    QFrame::mouseDoubleClickEvent(event);
}

// --- printing ------------------------------------------------------------------

void GraphView::printTo(QPainter& painter, int left, int top, int right, int bottom, bool blackAndWhite)
{
    KOVA_ASSERT(axisCtrl_ != nullptr);
    if (!axisCtrl_)
        return;
    const int saved[] = {plotLeft_, plotTop_, plotWidth_, plotHeight_};
    plotLeft_ = left;
    plotTop_ = top;
    plotWidth_ = std::max(0, right - left);
    plotHeight_ = std::max(0, bottom - top);
    isPrinting_ = true;
    blackAndWhite_ = blackAndWhite;
    painter.save();
    // Marks, markers and brackets of series that began before the window
    // stay on this pane's strip of the page.
    painter.setClipRect(QRect(plotLeft_, plotTop_, plotWidth_, plotHeight_), Qt::IntersectClip);
    paintBackground(painter);
    painter.restore();
    isPrinting_ = false;
    blackAndWhite_ = false;
    plotLeft_ = saved[0];
    plotTop_ = saved[1];
    plotWidth_ = saved[2];
    plotHeight_ = saved[3];
}
