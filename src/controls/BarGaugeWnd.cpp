#include "controls/BarGaugeWnd.h"

#include "controls/ControlReplacement.h"
#include "Rodezir/dialogs/DialogItem.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace kova {
namespace {

constexpr int MIN_WIDTH = 50;
constexpr int MIN_HEIGHT = 6;
constexpr double MARKER_INSET = 3.0;
constexpr int BALL_STEPS = 15;
constexpr int FEW_BALL_STEP = 5;

int roundHalfUp(double value) { return static_cast<int>(value + 0.5); }

QPolygon polygonOf(std::initializer_list<QPoint> points) { return QPolygon(QList<QPoint>(points)); }

void drawFacet(QPainter& painter, const QPolygon& facet, const QColor& fill)
{
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    painter.drawPolygon(facet);
}

} // namespace

struct BarGaugeWnd::Geometry {
    int left, top, right, bottom, w, h;
    int d;          // depth of the slanted ends
    double length;  // usable length of the value range
    double leftMargin, rightMargin;
    double perUnit; // pixels per value unit
    int middle;
    double markerInset;
    bool drawable;
};

BarGaugeWnd::BarGaugeWnd(QWidget* parent) : QWidget(parent) {}

bool BarGaugeWnd::create(const QRect& rect, QWidget* parent, int controlId)
{
    setParent(parent);
    setGeometry(rect);
    setControlId(this, controlId);
    show();
    return true;
}

bool BarGaugeWnd::replaceControl(QWidget* parentDialog, int controlId)
{
    return replaceDialogControl(parentDialog, controlId, this);
}

void BarGaugeWnd::setArea(double minimum, double maximum, COLORREF barColour)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_barColour = barColour;
    update();
}

void BarGaugeWnd::setOffset(double value)
{
    m_value = value;
    update();
}

void BarGaugeWnd::setScale(bool leftTipFlag, bool rightTipFlag, int leftMargin, int rightMargin)
{
    m_leftTipFlag = leftTipFlag;
    m_rightTipFlag = rightTipFlag;
    m_leftMargin = leftMargin;
    m_rightMargin = rightMargin;
    // New margins are in pixels of whatever is painted next.
    m_leftFactor.reset();
    update();
}

void BarGaugeWnd::setColor(COLORREF colour)
{
    m_secondColour = colour;
    m_overlay.reset();
    update();
}

void BarGaugeWnd::setOverlay(const QPicture& picture)
{
    m_overlay = picture;
    update();
}

void BarGaugeWnd::addRange(double start, double end, COLORREF colour, bool leftTip, bool rightTip)
{
    m_ranges.push_back({start, end, colour, leftTip, rightTip});
    update();
}

QColor BarGaugeWnd::lightVariant(const QColor& colour)
{
    return QColor(std::min(colour.red() + 96, 255), std::min(colour.green() + 96, 255), std::min(colour.blue() + 96, 255));
}

QColor BarGaugeWnd::darkVariant(const QColor& colour)
{
    return QColor(std::max(colour.red() - 64, 0), std::max(colour.green() - 64, 0), std::max(colour.blue() - 64, 0));
}

BarGaugeWnd::Geometry BarGaugeWnd::geometry(int left, int top, int right, int bottom) const
{
    Geometry g{};
    g.left = left;
    g.top = top;
    g.right = right;
    g.bottom = bottom;
    g.w = right - left;
    g.h = bottom - top;
    g.leftMargin = m_leftFactor ? g.w * *m_leftFactor : m_leftMargin;
    g.rightMargin = m_leftFactor ? g.w * m_rightFactor : m_rightMargin;
    g.d = g.h - 2;
    g.length = (g.w - 1) - g.d - (g.leftMargin + g.rightMargin);
    g.middle = top + (g.h - 1) / 2;
    g.markerInset = m_leftFactor ? g.h * m_verticalFactor : MARKER_INSET;
    const double span = m_maximum - m_minimum;
    // A range that is still empty (or not a number) has no scale: nothing is drawn.
    g.drawable = g.w >= MIN_WIDTH && g.h >= MIN_HEIGHT && span != 0 && std::isfinite(span);
    g.perUnit = g.drawable ? g.length / span : 0;
    return g;
}

int BarGaugeWnd::markerCentre(int left, int right, int top, int bottom) const
{
    const Geometry g = geometry(left, top, right, bottom);
    const double half = (g.d + 1) / 2;
    if (m_value < m_minimum)
        return static_cast<int>(m_leftTipFlag ? g.left + half : g.left + g.leftMargin + half);
    if (m_value > m_maximum)
        return static_cast<int>(g.left + g.leftMargin + half + g.length + (m_rightTipFlag ? g.rightMargin : 0));
    return static_cast<int>(g.left + g.leftMargin + half + (m_value - m_minimum) * g.perUnit);
}

void BarGaugeWnd::drawInto(QPainter& painter, int left, int top, int right, int bottom, bool fewSteps)
{
    const int w = right - left;
    const int h = bottom - top;
    if (w > 0 && h > 0) {
        m_leftFactor = m_leftMargin / w;
        m_rightFactor = m_rightMargin / w;
        m_verticalFactor = MARKER_INSET / h;
    }
    paint(painter, left, top, right, bottom, fewSteps);
}

void BarGaugeWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, 0, 0, width(), height(), false);
}

void BarGaugeWnd::paint(QPainter& painter, int left, int top, int right, int bottom, bool fewSteps) const
{
    const Geometry g = geometry(left, top, right, bottom);
    if (!g.drawable)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);

    // The tips of the body: ranges may pull them in to their own ends.
    int leftTip = left;
    int rightTip = right;
    for (const Range& range : m_ranges) {
        if (range.leftTip)
            leftTip = roundHalfUp(left + (range.start - m_minimum) * g.perUnit);
        if (range.rightTip)
            rightTip = roundHalfUp(right - (m_maximum - range.end) * g.perUnit);
    }
    const int B = roundHalfUp(leftTip + g.leftMargin);
    const int C = roundHalfUp(rightTip - g.rightMargin);
    const int A = m_leftTipFlag ? leftTip : B;
    const int D = m_rightTipFlag ? rightTip : C;
    const int m = g.middle;
    const QPolygon body = polygonOf({{A, m}, {B, top}, {C, top}, {D, m}, {C, bottom - 1}, {B, bottom - 1}});

    const QColor bar = colorFromRef(m_barColour);
    const QPen outline(lightVariant(bar), 1);
    painter.setPen(outline);
    painter.setBrush(bar);
    painter.drawPolygon(body);

    const int rangeLeft = roundHalfUp(left + g.leftMargin);
    for (const Range& range : m_ranges) {
        const double s = std::max(range.start, m_minimum);
        const double e = std::min(range.end, m_maximum);
        const int x0 = std::max(roundHalfUp(left + g.leftMargin + (s - m_minimum) * g.perUnit), rangeLeft + 1);
        const int x1 = std::min(roundHalfUp(left + g.leftMargin + g.d + (e - m_minimum) * g.perUnit),
                                roundHalfUp(left + g.leftMargin + g.length));
        const QColor colour = colorFromRef(range.colour);
        painter.setPen(colour);
        painter.setBrush(colour);
        if (x1 > x0)
            painter.drawRect(QRect(x0, top + 1, x1 - x0 - 1, g.h - 3));
        // A range cut at an end of the scale runs on into the tip.
        const int reach = m - top;
        if (range.start < m_minimum)
            painter.drawPolygon(polygonOf({{x0, top + 1}, {std::max(A, x0 - reach), m}, {x0, bottom - 2}}));
        if (range.end > m_maximum)
            painter.drawPolygon(polygonOf({{x1, top + 1}, {std::min(D, x1 + reach), m}, {x1, bottom - 2}}));
    }

    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(polygonOf({{A, m}, {B, top}, {C, top}, {D, m}, {C, bottom - 1}, {B, bottom - 1}, {A, m}}));

    const QColor dark = darkVariant(bar);
    drawFacet(painter, polygonOf({{B, bottom - 1}, {C, bottom - 1}, {C - 1, bottom - 3}, {B + 1, bottom - 3}}), dark);
    drawFacet(painter, polygonOf({{D, m}, {C, bottom - 1}, {C - 2, bottom - 3}, {D - 2, m}}), dark);
    if (D - C <= m - top)
        drawFacet(painter, polygonOf({{C, top}, {D, m}, {D - 2, m}, {C - 2, top + 1}}), dark);
    if (B - A >= (bottom - 1) - m)
        drawFacet(painter, polygonOf({{A, m}, {B, bottom - 1}, {B + 2, bottom - 3}, {A + 2, m}}), dark);

    paintMarker(painter, g, fewSteps);
    painter.restore();
}

void BarGaugeWnd::paintMarker(QPainter& painter, const Geometry& g, bool fewSteps) const
{
    const int x = markerCentre(g.left, g.right, g.top, g.bottom);
    const double s = g.markerInset;
    const QRectF box(QPointF(x - g.d / 2 + s, g.top + s), QPointF(x + g.d / 2 - s, g.bottom - s - 1));
    if (m_overlay) {
        const QRect bounds = m_overlay->boundingRect();
        if (bounds.isEmpty() || box.isEmpty())
            return;
        painter.save();
        painter.translate(box.topLeft());
        painter.scale(box.width() / bounds.width(), box.height() / bounds.height());
        painter.translate(-bounds.topLeft());
        painter.drawPicture(0, 0, *m_overlay);
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int k = 0; k < BALL_STEPS; k += fewSteps ? FEW_BALL_STEP : 1) {
        const QColor shade(80 + 11 * k, 80 + 11 * k, 255);
        const QRectF ellipse(QPointF(box.left() + 0.015 * k * box.width(), box.top() + 0.015 * k * box.height()),
                             QPointF(box.right() - 0.035 * k * box.width(), box.bottom() - 0.035 * k * box.height()));
        painter.setPen(shade);
        painter.setBrush(shade);
        painter.drawEllipse(ellipse);
    }
}

} // namespace kova
