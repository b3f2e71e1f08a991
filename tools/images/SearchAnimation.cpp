#include "SearchAnimation.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace images {
namespace {

constexpr int WIDTH = 150;
constexpr int HEIGHT = 36;
constexpr int FRAMES = 24;
constexpr double CABLE_LEFT = 36.0;
constexpr double CABLE_RIGHT = 112.0;
constexpr double CABLE_Y = 22.0;

const QColor OUTLINE(40, 56, 96);
const QColor SCREEN(150, 200, 240);
const QColor CABLE(150, 150, 150);
const QColor PULSE(0, 120, 215);
const QColor SKIN(236, 196, 160);
const QColor SHIRT(70, 110, 170);

void drawStation(QPainter& p)
{
    p.setPen(QPen(OUTLINE, 2));
    p.setBrush(SCREEN);
    p.drawRoundedRect(QRectF(5, 6, 27, 18), 2, 2);
    p.setBrush(OUTLINE);
    p.drawRect(QRectF(16, 25, 5, 3));
    p.drawRoundedRect(QRectF(10, 29, 17, 2), 1, 1);
}

void drawManikin(QPainter& p, double glow)
{
    // The head turned up, the chest where compressions go, lying on a mat.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 200));
    p.drawRoundedRect(QRectF(116, 30, 30, 3), 1.5, 1.5);
    p.setPen(QPen(OUTLINE, 1.5));
    p.setBrush(SHIRT);
    QPainterPath torso;
    torso.moveTo(121, 30);
    torso.cubicTo(121, 19, 127, 16, 133, 16);
    torso.cubicTo(139, 16, 145, 19, 145, 30);
    torso.closeSubpath();
    p.drawPath(torso);
    p.setBrush(SKIN);
    p.drawEllipse(QPointF(133, 9), 5.5, 5.5);
    if (glow > 0.0) {
        QColor light = PULSE;
        light.setAlphaF(0.25 + 0.6 * glow);
        p.setPen(Qt::NoPen);
        p.setBrush(light);
        p.drawEllipse(QPointF(133, 23), 3.0 + 2.0 * glow, 3.0 + 2.0 * glow);
    }
}

void drawCable(QPainter& p)
{
    p.setPen(QPen(CABLE, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(CABLE_LEFT - 4, CABLE_Y), QPointF(CABLE_RIGHT + 6, CABLE_Y));
    p.setPen(Qt::NoPen);
    p.setBrush(OUTLINE);
    p.drawRoundedRect(QRectF(CABLE_RIGHT + 2, CABLE_Y - 3, 6, 6), 1, 1);
}

// Three signals a third of the cable apart, each fading in at the station
// and out at the manikin.
void drawSignals(QPainter& p, double phase)
{
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        const double t = std::fmod(phase + i / 3.0, 1.0);
        const double x = CABLE_LEFT + t * (CABLE_RIGHT - CABLE_LEFT);
        QColor colour = PULSE;
        colour.setAlphaF(std::sin(t * M_PI));
        p.setBrush(colour);
        p.drawEllipse(QPointF(x, CABLE_Y), 3.2, 3.2);
    }
}

} // namespace

std::vector<QImage> searchAnimationFrames()
{
    std::vector<QImage> frames;
    for (int frame = 0; frame < FRAMES; ++frame) {
        QImage image(WIDTH, HEIGHT, QImage::Format_RGB32);
        image.fill(ANIMATION_BACKGROUND);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        const double phase = static_cast<double>(frame) / FRAMES;
        drawCable(p);
        drawStation(p);
        drawSignals(p, phase);
        // The chest lights up as each signal arrives.
        const double arrival = std::fmod(phase * 3.0, 1.0);
        drawManikin(p, arrival > 0.8 ? (arrival - 0.8) / 0.2 : 0.0);
        frames.push_back(image);
    }
    return frames;
}

} // namespace images
