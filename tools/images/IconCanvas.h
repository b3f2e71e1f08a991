#pragma once
// The drawing surface of one pictogram: a 32 x 32 unit design grid mapped onto
// the pixel size of a strip, with the few strokes and shapes every icon is
// built from. In monochrome every colour but paper becomes black, so the same
// drawing serves the coloured toolbar strip and the controller's black-on-white ones.

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>

#include <initializer_list>
#include <string_view>

namespace images {

class IconCanvas {
public:
    IconCanvas(QPainter& painter, bool monochrome, double pixelsPerUnit);

    QColor ink() const;
    QColor paper() const;
    QColor tone(QColor colour) const;

    double penWidth() const { return penWidth_; }
    // For the few pictograms drawn turned (handset, syringe): save, rotate, restore.
    QPainter& painter() const { return painter_; }

    void stroke(const QPainterPath& path, QColor colour, double width = 0) const;
    void fill(const QPainterPath& path, QColor colour) const;
    void line(double x1, double y1, double x2, double y2, QColor colour, double width = 0) const;
    void polyline(std::initializer_list<QPointF> points, QColor colour, double width = 0) const;
    void polygon(std::initializer_list<QPointF> points, QColor colour) const;
    void circle(double cx, double cy, double r, QColor colour, bool filled) const;
    void rect(double x, double y, double w, double h, QColor colour, bool filled, double radius = 0) const;
    // An arrow from (x1, y1) to (x2, y2) with its head at the end.
    void arrow(double x1, double y1, double x2, double y2, QColor colour, double width = 0) const;
    // An arc around (cx, cy) from `startDeg` sweeping `spanDeg` (counter-clockwise
    // positive, as Qt counts), with an arrow head at its end when asked.
    void arc(double cx, double cy, double r, double startDeg, double spanDeg, QColor colour,
             bool head, double width = 0) const;
    // Digits and a few capitals in a stroke font of our own: `height` units
    // tall, top-left at (x, y).
    void text(std::string_view text, double x, double y, double height, QColor colour, double width = 0) const;

private:
    QPainter& painter_;
    bool monochrome_;
    double penWidth_;
};

} // namespace images
