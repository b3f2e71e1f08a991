#include "app/graphs/AxisCtrl.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/FontUtil.h"
#include "app/graphs/GraphPane.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace {

const char* const LABEL_EXTENT = "000:00";
constexpr int AXIS_FONT_HEIGHT = 12;
constexpr int PRINT_FONT_TENTHS = 60;

std::string axisFace()
{
    return kova::FontUtil::isFontInstalled("tahoma", kova::FontUtil::getCharset()) ? "tahoma" : "arial";
}

QSize extentOf(const QFont& font, const QPaintDevice* device)
{
    const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return {metrics.horizontalAdvance(QString::fromLatin1(LABEL_EXTENT)), metrics.height()};
}

} // namespace

AxisCtrl::AxisCtrl(GraphSession& session, AxisOwner* owner) : TimeAxis(session, owner)
{
    labelSize_ = extentOf(axisFont(), nullptr);
    setLabelWidth(labelSize_.width());
}

AxisCtrl::~AxisCtrl()
{
    leave();
    // The panes let go of the axis while it is still whole.
    const std::vector<GraphPane*> panes = getGraphViewList();
    for (GraphPane* pane : panes)
        pane->onAxisDestroyed();
}

const QFont& AxisCtrl::axisFont()
{
    static const QFont font = [] {
        QFont created;
        kova::FontUtil::create(created, axisFace(), AXIS_FONT_HEIGHT, true, false);
        return created;
    }();
    return font;
}

int AxisCtrl::axisFontHeight()
{
    static const int height = kova::FontUtil::getTextHeight(axisFont());
    return height;
}

QFont AxisCtrl::getFont() const { return printFont_ ? *printFont_ : axisFont(); }

int AxisCtrl::axisHeight() const { return axisFontHeight() + 4; }

QSize AxisCtrl::sizeHint() const { return {labelSize_.width() * 4, axisHeight()}; }

bool AxisCtrl::Create(QWidget* parent)
{
    KOVA_ASSERT(parent != nullptr);
    if (!parent)
        return false;
    setParent(parent);
    created_ = true;
    join();
    labelSize_ = extentOf(axisFont(), nullptr);
    setLabelWidth(labelSize_.width());
    setClientSize(width(), height());
    show();
    return true;
}

QFont AxisCtrl::printFontFor(const QPaintDevice* device)
{
    QFont font;
    kova::FontUtil::create(font, axisFace(), kova::FontUtil::pointsToLogical(PRINT_FONT_TENTHS, device), true, false);
    return font;
}

void AxisCtrl::setPrintFont(const QPaintDevice* device)
{
    savedLabelSize_ = labelSize_;
    printFont_ = printFontFor(device);
    labelSize_ = extentOf(*printFont_, device);
    setLabelWidth(labelSize_.width());
}

int AxisCtrl::printHeight(const QPaintDevice* device) { return extentOf(printFontFor(device), device).height() + 4; }

void AxisCtrl::printTo(QPainter& painter, const QRect& rectangle)
{
    const int savedLeft = getAxisLeft();
    const int savedWidth = getAxisWidth();
    setAxisRect(rectangle.left(), rectangle.width());
    drawLabels(painter, rectangle, false);
    printFont_.reset();
    if (savedLabelSize_.isValid())
        labelSize_ = savedLabelSize_;
    setLabelWidth(labelSize_.width());
    setAxisRect(savedLeft, savedWidth);
}

void AxisCtrl::drawLabels(QPainter& painter, const QRect& area, bool onScreen) const
{
    if (onScreen)
        painter.fillRect(area, palette().color(QPalette::Button));
    painter.save();
    painter.setFont(getFont());
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    const int height = std::max(area.height(), labelSize_.height());
    const QFontMetrics metrics = painter.fontMetrics();
    for (const Label& label : labels()) {
        // Centred on its time, but whole: a label at either end of the axis
        // is moved inside it rather than cut by the panel or the page frame.
        const QString text = QString::fromStdString(label.text);
        const int width = metrics.horizontalAdvance(text);
        const int left = std::max(area.left(), std::min(label.x - width / 2, area.left() + area.width() - width));
        painter.drawText(QRect(left, area.top(), width, height), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         text);
    }
    painter.restore();
}

void AxisCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawLabels(painter, QRect(getAxisLeft(), 0, getAxisWidth(), QWidget::height()), true);
}

void AxisCtrl::resizeEvent(QResizeEvent* event)
{
    setClientSize(event->size().width(), event->size().height());
    QWidget::resizeEvent(event);
}
