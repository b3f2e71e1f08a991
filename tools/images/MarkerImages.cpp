#include "MarkerImages.h"

#include <QPainter>
#include <QPolygon>

namespace images {
namespace {

constexpr int SIZE = 16;
const QColor OUTLINE(0, 0, 0);
const QColor SIGN(255, 230, 0);

// Drawn without smoothing: every pixel is either white (left out by the
// panes) or a colour of the marker, so no pale fringe shows on a grey pane.
QImage canvas()
{
    QImage image(SIZE, SIZE, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void triangle(QPainter& p, QColor fill, bool pointingDown)
{
    const QPolygon shape = pointingDown ? QPolygon({QPoint(0, 1), QPoint(15, 1), QPoint(8, 15), QPoint(7, 15)})
                                        : QPolygon({QPoint(7, 0), QPoint(8, 0), QPoint(15, 14), QPoint(0, 14)});
    p.setPen(OUTLINE);
    p.setBrush(fill);
    p.drawPolygon(shape);
    // The exclamation mark sits in the wide half of the triangle.
    const int top = pointingDown ? 3 : 5;
    p.fillRect(7, top, 2, 5, SIGN);
    p.fillRect(7, top + 6, 2, 2, SIGN);
}

QImage stomachInflation()
{
    QImage image = canvas();
    QPainter p(&image);
    triangle(p, QColor(0, 0, 210), true);
    return image;
}

QImage wrongHandPosition()
{
    QImage image = canvas();
    QPainter p(&image);
    triangle(p, QColor(200, 30, 30), false);
    return image;
}

QImage ecgStatus()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setPen(OUTLINE);
    p.setBrush(QColor(255, 140, 0));
    // A bolt striking down at the sample.
    p.drawPolygon(QPolygon({QPoint(9, 0), QPoint(3, 8), QPoint(7, 8), QPoint(5, 15), QPoint(12, 6), QPoint(8, 6),
                            QPoint(12, 0)}));
    return image;
}

} // namespace

std::vector<ButtonImage> markerImages()
{
    return {{167, stomachInflation()}, {168, wrongHandPosition()}, {306, ecgStatus()}};
}

} // namespace images
