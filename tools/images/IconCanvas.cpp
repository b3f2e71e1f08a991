#include "IconCanvas.h"

#include <QPen>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace images {
namespace {

using Stroke = std::vector<QPointF>;
using Glyph = std::vector<Stroke>;

// Glyphs on a 4 x 6 grid.
const std::map<char, Glyph>& glyphs()
{
    static const std::map<char, Glyph> table = {
        {'0', {{{0, 0}, {4, 0}, {4, 6}, {0, 6}, {0, 0}}}},
        {'1', {{{1, 1}, {2, 0}, {2, 6}}, {{1, 6}, {3, 6}}}},
        {'2', {{{0, 0}, {4, 0}, {4, 3}, {0, 3}, {0, 6}, {4, 6}}}},
        {'3', {{{0, 0}, {4, 0}, {4, 6}, {0, 6}}, {{1, 3}, {4, 3}}}},
        {'4', {{{3, 6}, {3, 0}, {0, 4}, {4, 4}}}},
        {'5', {{{4, 0}, {0, 0}, {0, 3}, {4, 3}, {4, 6}, {0, 6}}}},
        {'6', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}, {4, 3}, {0, 3}}}},
        {'7', {{{0, 0}, {4, 0}, {1, 6}}}},
        {'8', {{{0, 0}, {4, 0}, {4, 6}, {0, 6}, {0, 0}}, {{0, 3}, {4, 3}}}},
        {'9', {{{4, 3}, {0, 3}, {0, 0}, {4, 0}, {4, 6}, {0, 6}}}},
        {'A', {{{0, 6}, {2, 0}, {4, 6}}, {{1, 4}, {3, 4}}}},
        {'C', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}}},
        {'D', {{{0, 0}, {3, 0}, {4, 1.5}, {4, 4.5}, {3, 6}, {0, 6}, {0, 0}}}},
        {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}}},
        {'G', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}, {4, 3}, {2, 3}}}},
        {'I', {{{2, 0}, {2, 6}}, {{1, 0}, {3, 0}}, {{1, 6}, {3, 6}}}},
        {'O', {{{0, 0}, {4, 0}, {4, 6}, {0, 6}, {0, 0}}}},
        {'P', {{{0, 6}, {0, 0}, {4, 0}, {4, 3}, {0, 3}}}},
        {'R', {{{0, 6}, {0, 0}, {4, 0}, {4, 3}, {0, 3}}, {{2, 3}, {4, 6}}}},
        {'V', {{{0, 0}, {2, 6}, {4, 0}}}},
        {'X', {{{0, 0}, {4, 6}}, {{4, 0}, {0, 6}}}},
    };
    return table;
}

QPainterPath pathThrough(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    for (const QPointF& point : points) {
        if (path.elementCount() == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    return path;
}

} // namespace

IconCanvas::IconCanvas(QPainter& painter, bool monochrome, double pixelsPerUnit)
    : painter_(painter), monochrome_(monochrome)
{
    // Lines stay at least about 1.3 pixels wide, so the small strip keeps
    // them solid, and 2 units on the large ones.
    penWidth_ = std::max(2.0, 1.3 / pixelsPerUnit);
}

QColor IconCanvas::ink() const { return monochrome_ ? QColor(0, 0, 0) : QColor(20, 30, 60); }
// Not pure white, so the small strip's transparent background stays apart from a white inside.
QColor IconCanvas::paper() const { return monochrome_ ? QColor(255, 255, 255) : QColor(254, 254, 254); }
QColor IconCanvas::tone(QColor colour) const { return monochrome_ ? QColor(0, 0, 0) : colour; }

void IconCanvas::stroke(const QPainterPath& path, QColor colour, double width) const
{
    QPen pen(colour, width > 0 ? width : penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
}

void IconCanvas::fill(const QPainterPath& path, QColor colour) const
{
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(colour);
    painter_.drawPath(path);
}

void IconCanvas::line(double x1, double y1, double x2, double y2, QColor colour, double width) const
{
    QPainterPath path(QPointF(x1, y1));
    path.lineTo(x2, y2);
    stroke(path, colour, width);
}

void IconCanvas::polyline(std::initializer_list<QPointF> points, QColor colour, double width) const
{
    stroke(pathThrough(points), colour, width);
}

void IconCanvas::polygon(std::initializer_list<QPointF> points, QColor colour) const
{
    QPainterPath path = pathThrough(points);
    path.closeSubpath();
    fill(path, colour);
}

void IconCanvas::circle(double cx, double cy, double r, QColor colour, bool filled) const
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), r, r);
    if (filled)
        fill(path, colour);
    else
        stroke(path, colour);
}

void IconCanvas::rect(double x, double y, double w, double h, QColor colour, bool filled, double radius) const
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    if (filled)
        fill(path, colour);
    else
        stroke(path, colour);
}

void IconCanvas::arrow(double x1, double y1, double x2, double y2, QColor colour, double width) const
{
    const double w = width > 0 ? width : penWidth_;
    const double angle = std::atan2(y2 - y1, x2 - x1);
    const double head = std::max(4.5, 2.6 * w);
    const double spread = 0.5;
    // The shaft stops inside the head so its round cap does not poke through.
    line(x1, y1, x2 - std::cos(angle) * head * 0.6, y2 - std::sin(angle) * head * 0.6, colour, w);
    polygon({QPointF(x2, y2),
             QPointF(x2 - head * std::cos(angle - spread), y2 - head * std::sin(angle - spread)),
             QPointF(x2 - head * std::cos(angle + spread), y2 - head * std::sin(angle + spread))},
            colour);
}

void IconCanvas::arc(double cx, double cy, double r, double startDeg, double spanDeg, QColor colour,
                     bool head, double width) const
{
    QPainterPath path;
    const QRectF box(cx - r, cy - r, 2 * r, 2 * r);
    path.arcMoveTo(box, startDeg);
    path.arcTo(box, startDeg, spanDeg);
    stroke(path, colour, width);
    if (!head)
        return;
    const double endRad = (startDeg + spanDeg) * M_PI / 180.0;
    const double ex = cx + r * std::cos(endRad);
    const double ey = cy - r * std::sin(endRad);
    // The tangent in the direction of travel.
    const double dir = spanDeg >= 0 ? 1.0 : -1.0;
    const double tx = -std::sin(endRad) * dir;
    const double ty = -std::cos(endRad) * dir;
    const double w = width > 0 ? width : penWidth_;
    const double size = std::max(4.5, 2.6 * w);
    const double nx = -ty;
    const double ny = tx;
    polygon({QPointF(ex + tx * size * 0.7, ey + ty * size * 0.7),
             QPointF(ex - tx * size * 0.3 + nx * size * 0.55, ey - ty * size * 0.3 + ny * size * 0.55),
             QPointF(ex - tx * size * 0.3 - nx * size * 0.55, ey - ty * size * 0.3 - ny * size * 0.55)},
            colour);
}

void IconCanvas::text(std::string_view text, double x, double y, double height, QColor colour, double width) const
{
    const double scale = height / 6.0;
    double left = x;
    for (char c : text) {
        const auto found = glyphs().find(c);
        if (found != glyphs().end()) {
            for (const Stroke& strokePoints : found->second) {
                QPainterPath path;
                for (std::size_t i = 0; i < strokePoints.size(); ++i) {
                    const QPointF point(left + strokePoints[i].x() * scale, y + strokePoints[i].y() * scale);
                    if (i == 0)
                        path.moveTo(point);
                    else
                        path.lineTo(point);
                }
                stroke(path, colour, width);
            }
        }
        left += 6.2 * scale;
    }
}

} // namespace images
