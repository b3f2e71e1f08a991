#include "SplashPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace images {

namespace {

const QColor NAVY(0x12, 0x3A, 0x5C);
const QColor DEEP_NAVY(0x0B, 0x26, 0x3E);
const QColor HEART_RED(0xC8, 0x1E, 0x2D);
const QColor HEART_SHADE(0x9E, 0x14, 0x22);
const QColor PAPER(0xF7, 0xF9, 0xFB);
const QColor MIST(0xDD, 0xE7, 0xF0);

// A heart of the given width whose top notch sits at (centreX, top).
QPainterPath heartPath(double centreX, double top, double width)
{
    const double w = width / 2;
    const double h = width * 0.92;
    QPainterPath path;
    path.moveTo(centreX, top + h * 0.22);
    path.cubicTo(centreX - w * 0.10, top - h * 0.08, centreX - w * 1.05, top - h * 0.05, centreX - w, top + h * 0.32);
    path.cubicTo(centreX - w * 0.95, top + h * 0.60, centreX - w * 0.35, top + h * 0.78, centreX, top + h);
    path.cubicTo(centreX + w * 0.35, top + h * 0.78, centreX + w * 0.95, top + h * 0.60, centreX + w, top + h * 0.32);
    path.cubicTo(centreX + w * 1.05, top - h * 0.05, centreX + w * 0.10, top - h * 0.08, centreX, top + h * 0.22);
    path.closeSubpath();
    return path;
}

// Two hands seen from the front, one on top of the other with the fingers
// laced, the heel of the lower one on the chest, and the two straight arms
// above them meeting at the wrists.
void drawHands(QPainter& painter, double centreX, double bottom)
{
    painter.save();
    const QPen outline(DEEP_NAVY, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(outline);
    painter.setBrush(MIST);
    for (double side : {-1.0, 1.0}) {
        QPainterPath arm;
        arm.moveTo(centreX + side * 58, bottom - 118);
        arm.lineTo(centreX + side * 30, bottom - 118);
        arm.lineTo(centreX + side * 6, bottom - 44);
        arm.lineTo(centreX + side * 34, bottom - 44);
        arm.closeSubpath();
        painter.drawPath(arm);
    }
    // The lower hand: palm and thumb.
    QPainterPath lower;
    lower.addRoundedRect(QRectF(centreX - 46, bottom - 34, 92, 34), 16, 16);
    painter.drawPath(lower);
    painter.drawEllipse(QRectF(centreX + 34, bottom - 40, 22, 16));
    // The upper hand's fingers, laced over the lower one.
    painter.drawRoundedRect(QRectF(centreX - 40, bottom - 58, 80, 30), 14, 14);
    for (int i = 0; i < 4; ++i)
        painter.drawEllipse(QRectF(centreX - 42 + i * 21, bottom - 30, 20, 16));
    painter.restore();
}

void drawPushArrows(QPainter& painter, double centreX, double top)
{
    painter.save();
    painter.setPen(QPen(HEART_RED, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    for (double side : {-1.0, 1.0}) {
        const double x = centreX + side * 88;
        painter.drawLine(QPointF(x, top), QPointF(x, top + 34));
        QPainterPath head;
        head.moveTo(x - 9, top + 24);
        head.lineTo(x, top + 36);
        head.lineTo(x + 9, top + 24);
        painter.drawPath(head);
    }
    painter.restore();
}

void drawPulse(QPainter& painter, double left, double right, double baseline)
{
    QPainterPath pulse;
    pulse.moveTo(left, baseline);
    const double mid = (left + right) / 2;
    pulse.lineTo(mid - 42, baseline);
    pulse.lineTo(mid - 30, baseline - 14);
    pulse.lineTo(mid - 20, baseline);
    pulse.lineTo(mid - 12, baseline);
    pulse.lineTo(mid - 2, baseline - 46);
    pulse.lineTo(mid + 10, baseline + 30);
    pulse.lineTo(mid + 20, baseline);
    pulse.lineTo(mid + 32, baseline);
    pulse.lineTo(mid + 42, baseline - 12);
    pulse.lineTo(mid + 52, baseline);
    pulse.lineTo(right, baseline);
    painter.save();
    painter.setPen(QPen(PAPER, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(pulse);
    painter.restore();
}

void drawText(QPainter& painter, const QRectF& box, const QString& text, int pixelSize, bool bold, QColor colour,
              Qt::Alignment alignment)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, alignment | Qt::AlignVCenter, text);
}

} // namespace

QImage drawSplashPicture()
{
    QImage image(SPLASH_WIDTH, SPLASH_HEIGHT, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // A light field above, the name on a dark band below.
    QLinearGradient field(0, 0, 0, 340);
    field.setColorAt(0, PAPER);
    field.setColorAt(1, MIST);
    painter.fillRect(QRectF(0, 0, SPLASH_WIDTH, 340), field);
    QLinearGradient band(0, 340, 0, SPLASH_HEIGHT);
    band.setColorAt(0, NAVY);
    band.setColorAt(1, DEEP_NAVY);
    painter.fillRect(QRectF(0, 340, SPLASH_WIDTH, SPLASH_HEIGHT - 340), band);
    painter.fillRect(QRectF(0, 336, SPLASH_WIDTH, 4), HEART_RED);

    const double centreX = SPLASH_WIDTH / 2.0;
    const QPainterPath heart = heartPath(centreX, 128, 200);
    painter.fillPath(heart.translated(4, 5), HEART_SHADE.darker(160));
    QLinearGradient heartShade(centreX - 100, 128, centreX + 100, 320);
    heartShade.setColorAt(0, HEART_RED.lighter(115));
    heartShade.setColorAt(1, HEART_SHADE);
    painter.fillPath(heart, heartShade);
    drawPulse(painter, centreX - 92, centreX + 92, 218);

    drawHands(painter, centreX, 158);
    drawPushArrows(painter, centreX, 70);

    // The station's emblem on the left of the band, where a customer's logo
    // covers it (80 x 80 at 50, 370 of the window, whose picture field starts
    // 5 pixels in); the name beside it.
    const QRectF emblem(45, 365, 80, 80);
    painter.setPen(QPen(PAPER, 3));
    painter.setBrush(NAVY.lighter(130));
    painter.drawEllipse(emblem.adjusted(2, 2, -2, -2));
    painter.fillPath(heartPath(emblem.center().x(), emblem.top() + 22, 40), HEART_RED);

    drawText(painter, QRectF(143, 361, 250, 50), QStringLiteral("Kova CPR"), 40, true, PAPER, Qt::AlignLeft);
    drawText(painter, QRectF(145, 409, 250, 34), QStringLiteral("Station"), 26, false, MIST, Qt::AlignLeft);
    painter.fillRect(QRectF(50, 472, SPLASH_WIDTH - 100, 2), HEART_RED);
    drawText(painter, QRectF(0, 480, SPLASH_WIDTH, 28), QStringLiteral("CPR training"), 16, false, MIST,
             Qt::AlignHCenter);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace images
