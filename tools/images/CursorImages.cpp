#include "CursorImages.h"

#include <QPainter>
#include <QPainterPath>

namespace images {
namespace {

constexpr int SIZE = 32;

QImage magnifier(bool plus)
{
    QImage image(SIZE, SIZE, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(CURSOR_HOT_SPOT + 0.5, CURSOR_HOT_SPOT + 0.5);
    // The handle, black with a white rim so it shows on dark curves too.
    p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    // The lens: a pale glass inside a black ring with a white rim.
    p.setPen(QPen(Qt::white, 5));
    p.setBrush(QColor(230, 240, 255, 200));
    p.drawEllipse(centre, 8.5, 8.5);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 8.5, 8.5);
    // The sign, crisp at its pixels.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(CURSOR_HOT_SPOT - 4, CURSOR_HOT_SPOT, 10, 2, Qt::black);
    if (plus)
        p.fillRect(CURSOR_HOT_SPOT, CURSOR_HOT_SPOT - 4, 2, 10, Qt::black);
    return image;
}

} // namespace

std::vector<ButtonImage> cursorImages() { return {{1025, magnifier(true)}, {1026, magnifier(false)}}; }

} // namespace images
