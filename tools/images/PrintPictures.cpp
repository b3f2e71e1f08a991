#include "PrintPictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace images {
namespace {

const QColor HEART(200, 30, 45);
const QColor NAVY(20, 40, 110);
const QColor OUTLINE(70, 70, 70);
const QColor SKIN(242, 214, 186);
const QColor HANDS(214, 160, 120);

QImage whiteCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(Qt::white);
    return image;
}

QPainterPath heartShape(const QRectF& box)
{
    const double x = box.x(), y = box.y(), w = box.width(), h = box.height();
    QPainterPath path;
    path.moveTo(x + w / 2, y + h);
    path.cubicTo(x - w * 0.05, y + h * 0.55, x, y - h * 0.05, x + w * 0.27, y + h * 0.02);
    path.cubicTo(x + w * 0.40, y + h * 0.05, x + w * 0.48, y + h * 0.15, x + w / 2, y + h * 0.25);
    path.cubicTo(x + w * 0.52, y + h * 0.15, x + w * 0.60, y + h * 0.05, x + w * 0.73, y + h * 0.02);
    path.cubicTo(x + w, y - h * 0.05, x + w * 1.05, y + h * 0.55, x + w / 2, y + h);
    return path;
}

// The name in the station's sans face; outlines, so no font is needed when printing.
void drawName(QPainter& p, const QString& text, int pixelSize, bool bold, const QPointF& baseline, QColor colour)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    QPainterPath path;
    path.addText(baseline, font, text);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

QImage banner()
{
    QImage image = whiteCanvas(446, 81);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(HEART);
    p.drawPath(heartShape(QRectF(6, 8, 72, 66)));

    // The pulse trace crosses the heart in white and runs on under the name in red.
    const QPolygonF trace({QPointF(10, 40), QPointF(28, 40), QPointF(34, 28), QPointF(41, 56), QPointF(48, 18),
                           QPointF(55, 46), QPointF(60, 40), QPointF(74, 40)});
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(trace);
    p.setPen(QPen(HEART, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(92, 70), QPointF(404, 70));

    drawName(p, QStringLiteral("KOVA CPR"), 44, true, QPointF(92, 50), NAVY);
    drawName(p, QStringLiteral("TRAINING STATION"), 13, false, QPointF(290, 64), NAVY);
    return image;
}

QImage handsOnChest()
{
    QImage image = whiteCanvas(459, 315);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(OUTLINE, 3));

    // A manikin seen from above: head, neck and torso, centred in the 415 pixels the pages show.
    p.setBrush(SKIN);
    p.drawRoundedRect(QRectF(186, 62, 42, 40), 10, 10);
    p.drawEllipse(QPointF(207, 48), 40, 42);
    QPainterPath torso;
    torso.moveTo(118, 112);
    torso.cubicTo(150, 94, 264, 94, 296, 112);
    torso.lineTo(318, 300);
    torso.lineTo(96, 300);
    torso.closeSubpath();
    p.drawPath(torso);

    // The landmark where the hands go: the lower half of the breastbone.
    p.setPen(QPen(QColor(180, 140, 110), 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(207, 120), QPointF(207, 250));

    // Two hands, one on the other, heels on the chest.
    p.setPen(QPen(OUTLINE, 3));
    p.setBrush(HANDS);
    p.drawEllipse(QPointF(207, 206), 44, 30);
    p.drawEllipse(QPointF(207, 194), 40, 26);
    for (int finger = 0; finger < 4; ++finger)
        p.drawRoundedRect(QRectF(180 + finger * 14, 160, 12, 24), 6, 6);

    // The push: straight down, to the depth the guidelines ask for.
    p.setPen(Qt::NoPen);
    p.setBrush(HEART);
    p.drawRect(QRectF(340, 120, 16, 90));
    p.drawPolygon(QPolygonF({QPointF(324, 206), QPointF(372, 206), QPointF(348, 250)}));
    p.drawRect(QRectF(40, 120, 16, 90));
    p.drawPolygon(QPolygonF({QPointF(24, 206), QPointF(72, 206), QPointF(48, 250)}));
    return image;
}

} // namespace

std::vector<ButtonImage> printPictures()
{
    return {{165, banner()}, {166, handsOnChest()}};
}

} // namespace images
