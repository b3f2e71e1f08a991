#include "EventIcons.h"

#include "IconCanvas.h"

#include <array>
#include <functional>

namespace images {
namespace {

const QColor RED(200, 30, 30);
const QColor BLUE(30, 90, 200);
const QColor GREEN(20, 140, 60);
const QColor ORANGE(225, 120, 0);
const QColor PURPLE(130, 50, 160);
const QColor TEAL(0, 125, 135);
const QColor GREY(105, 105, 110);
const QColor BROWN(140, 80, 30);

using C = const IconCanvas&;

// ---- shapes that several pictograms share -------------------------------

// A head in profile facing right (or left with `facing` -1), with forehead,
// nose, lips, chin and neck; (x, y) is the top-left of its box, `height` tall.
// Returns the mouth's position.
QPointF headSilhouette(C c, double x, double y, double height, QColor colour, int facing = 1)
{
    const double u = height / 24.0;
    const double left = facing > 0 ? x : x + 22 * u;
    auto at = [&](double px, double py) { return QPointF(left + facing * px * u, y + py * u); };
    QPainterPath path(at(4, 24));
    path.lineTo(at(4, 18));
    path.cubicTo(at(0, 15), at(0, 4), at(9, 1));
    path.cubicTo(at(15, -1), at(19.5, 3), at(19.5, 8));
    path.lineTo(at(19.5, 11));
    path.lineTo(at(23.5, 14.5));
    path.lineTo(at(19.5, 15.5));
    path.lineTo(at(20, 17));
    path.lineTo(at(19, 18.2));
    path.lineTo(at(20, 19.5));
    path.cubicTo(at(19.5, 22), at(17, 22), at(14, 22));
    path.lineTo(at(13, 24));
    path.closeSubpath();
    c.fill(path, colour);
    return at(20, 18.2);
}

void person(C c, double x, double y, double s, QColor colour)
{
    const double w = c.penWidth() * 1.25;
    c.circle(x, y, 2.8 * s, colour, true);
    c.line(x, y + 3.5 * s, x, y + 10.5 * s, colour, w * s);
    c.polyline({QPointF(x - 4.5 * s, y + 9 * s), QPointF(x, y + 5 * s), QPointF(x + 4.5 * s, y + 9 * s)}, colour, w * s);
    c.polyline({QPointF(x - 3.5 * s, y + 17.5 * s), QPointF(x, y + 10.5 * s), QPointF(x + 3.5 * s, y + 17.5 * s)},
               colour, w * s);
}

void lyingPerson(C c, double y, QColor colour)
{
    const double w = c.penWidth() * 1.3;
    c.circle(5.5, y - 1.5, 3.2, colour, true);
    c.line(10, y, 28, y, colour, w);
    c.line(14, y, 18, y - 4, colour, w * 0.8);
    c.line(4, y + 4, 29, y + 4, colour, c.penWidth() * 0.6);
}

void heart(C c, double cx, double cy, double s, QColor colour)
{
    QPainterPath path(QPointF(cx, cy + s * 0.95));
    path.cubicTo(cx - s * 1.7, cy - s * 0.1, cx - s * 0.85, cy - s * 1.35, cx, cy - s * 0.45);
    path.cubicTo(cx + s * 0.85, cy - s * 1.35, cx + s * 1.7, cy - s * 0.1, cx, cy + s * 0.95);
    c.fill(path, colour);
}

void bolt(C c, double cx, double cy, double s, QColor colour)
{
    c.polygon({QPointF(cx + 0.1 * s, cy - s), QPointF(cx - 0.5 * s, cy + 0.15 * s), QPointF(cx - 0.02 * s, cy + 0.15 * s),
               QPointF(cx - 0.25 * s, cy + s), QPointF(cx + 0.5 * s, cy - 0.25 * s),
               QPointF(cx + 0.05 * s, cy - 0.25 * s), QPointF(cx + 0.4 * s, cy - s)},
              colour);
}

void waves(C c, double cx, double cy, double r0, int count, double startDeg, double spanDeg, QColor colour)
{
    for (int i = 0; i < count; ++i)
        c.arc(cx, cy, r0 + i * 4.0, startDeg, spanDeg, colour, false);
}

void lungs(C c, double cx, double cy, double s, QColor colour)
{
    for (int side : {-1, 1}) {
        QPainterPath lobe(QPointF(cx + side * 1.8 * s, cy - 5 * s));
        lobe.cubicTo(cx + side * 6 * s, cy - 9 * s, cx + side * 10.5 * s, cy - 2 * s, cx + side * 10.5 * s, cy + 5 * s);
        lobe.cubicTo(cx + side * 10.5 * s, cy + 9.5 * s, cx + side * 6 * s, cy + 9.5 * s, cx + side * 1.8 * s, cy + 7.5 * s);
        lobe.closeSubpath();
        c.fill(lobe, colour);
    }
    c.line(cx, cy - 11 * s, cx, cy - 1 * s, c.ink(), c.penWidth() * 1.2 * s);
    c.polyline({QPointF(cx - 5 * s, cy + 3 * s), QPointF(cx, cy - 1 * s), QPointF(cx + 5 * s, cy + 3 * s)},
               c.paper(), c.penWidth() * 0.9 * s);
}

void ecg(C c, double x0, double x1, double y, double amp, QColor colour, double width = 0)
{
    const double u = (x1 - x0) / 12.0;
    c.polyline({QPointF(x0, y), QPointF(x0 + 3 * u, y), QPointF(x0 + 4 * u, y - 0.2 * amp), QPointF(x0 + 5 * u, y),
                QPointF(x0 + 5.6 * u, y + 0.25 * amp), QPointF(x0 + 6.4 * u, y - amp), QPointF(x0 + 7.2 * u, y + 0.45 * amp),
                QPointF(x0 + 8 * u, y), QPointF(x0 + 9.2 * u, y - 0.25 * amp), QPointF(x0 + 10.2 * u, y),
                QPointF(x1, y)},
               colour, width);
}

void syringe(C c, double cx, double cy, double s, QColor accent)
{
    QPainter& p = c.painter();
    p.save();
    p.translate(cx, cy);
    p.rotate(-45);
    p.scale(s, s);
    c.rect(-7, -3.2, 13, 6.4, accent, true, 0.8);
    c.rect(-7, -3.2, 13, 6.4, c.ink(), false, 0.8);
    c.line(-7, -5.5, -7, 5.5, c.ink());
    c.line(-7, 0, -13, 0, c.ink());
    c.line(-13, -3.5, -13, 3.5, c.ink());
    c.line(6, 0, 14, 0, c.ink(), c.penWidth() * 0.7);
    p.restore();
}

void clockFace(C c, double cx, double cy, double r, QColor colour)
{
    c.circle(cx, cy, r, colour, false);
    c.line(cx, cy, cx, cy - r * 0.62, colour);
    c.line(cx, cy, cx + r * 0.45, cy + r * 0.2, colour);
}

void stopwatch(C c, double cx, double cy, double r, QColor colour)
{
    clockFace(c, cx, cy, r, colour);
    c.rect(cx - 2.5, cy - r - 4.5, 5, 3, colour, true, 0.8);
    c.line(cx + r * 0.75, cy - r * 0.75, cx + r * 0.95, cy - r * 0.95, colour);
}

void warningTriangle(C c, QColor colour)
{
    QPainterPath path(QPointF(16, 3));
    path.lineTo(30, 28);
    path.lineTo(2, 28);
    path.closeSubpath();
    c.stroke(path, colour, c.penWidth() * 1.4);
}

void exclamation(C c, double cx, double top, double height, QColor colour)
{
    c.line(cx, top, cx, top + height * 0.65, colour, c.penWidth() * 1.3);
    c.circle(cx, top + height * 0.92, c.penWidth() * 0.8, colour, true);
}

void checkMark(C c, double x, double y, double s, QColor colour)
{
    c.polyline({QPointF(x, y), QPointF(x + 3 * s, y + 3 * s), QPointF(x + 9 * s, y - 4 * s)}, colour, c.penWidth() * 1.4);
}

void crossMark(C c, double cx, double cy, double r, QColor colour)
{
    c.line(cx - r, cy - r, cx + r, cy + r, colour, c.penWidth() * 1.4);
    c.line(cx + r, cy - r, cx - r, cy + r, colour, c.penWidth() * 1.4);
}

void medicalCross(C c, double cx, double cy, double r, QColor colour)
{
    c.rect(cx - r * 0.33, cy - r, r * 0.66, 2 * r, colour, true);
    c.rect(cx - r, cy - r * 0.33, 2 * r, r * 0.66, colour, true);
}

void hand(C c, double x, double y, double s, QColor colour)
{
    // An open palm, fingers up; (x, y) is the top-left of its box of about 14 x 20 s.
    const double fingerHeights[] = {8, 9.5, 9, 7};
    for (int i = 0; i < 4; ++i)
        c.rect(x + (2.6 + 2.75 * i) * s, y + (10 - fingerHeights[i]) * s, 2.4 * s, (fingerHeights[i] + 3) * s, colour, true,
               1.2 * s);
    c.rect(x + 2.4 * s, y + 10 * s, 11.2 * s, 9 * s, colour, true, 3 * s);
    QPainterPath thumb(QPointF(x + 3 * s, y + 13 * s));
    thumb.lineTo(x + 0.2 * s, y + 8.5 * s);
    c.stroke(thumb, colour, 2.6 * s);
}

void pressingHands(C c, double cx, double top, QColor colour)
{
    // Two hands stacked on the lower sternum, seen from the side: heel down.
    c.rect(cx - 6, top, 12, 6, colour, true, 2.5);
    c.rect(cx - 5, top + 5, 10, 5, colour, true, 2.5);
    c.line(cx, top - 1, cx, top - 7, colour, c.penWidth() * 1.6);
}

void torso(C c, QColor colour)
{
    QPainterPath path(QPointF(5, 31));
    path.lineTo(5, 14);
    path.quadTo(5, 8, 11, 7);
    path.lineTo(13, 7);
    path.moveTo(19, 7);
    path.lineTo(21, 7);
    path.quadTo(27, 8, 27, 14);
    path.lineTo(27, 31);
    c.stroke(path, colour);
}

void aedBox(C c, double x, double y, double w, double h, QColor colour)
{
    c.rect(x, y, w, h, colour, true, 2.5);
    heart(c, x + w / 2, y + h / 2 + h * 0.05, h * 0.33, c.paper());
    bolt(c, x + w / 2, y + h / 2, h * 0.28, colour);
}

void pads(C c, QColor colour)
{
    c.rect(8, 12, 7, 9, colour, true, 1.5);
    c.rect(18, 18, 7, 9, colour, true, 1.5);
}

void monitor(C c, QColor colour)
{
    c.rect(3, 5, 26, 19, colour, false, 2);
    c.line(11, 28, 21, 28, colour);
    c.line(16, 24, 16, 28, colour);
}

void droplet(C c, double cx, double cy, double s, QColor colour)
{
    QPainterPath path(QPointF(cx, cy - 8 * s));
    path.cubicTo(cx + 2 * s, cy - 4 * s, cx + 6 * s, cy, cx + 6 * s, cy + 3 * s);
    path.cubicTo(cx + 6 * s, cy + 7 * s, cx - 6 * s, cy + 7 * s, cx - 6 * s, cy + 3 * s);
    path.cubicTo(cx - 6 * s, cy, cx - 2 * s, cy - 4 * s, cx, cy - 8 * s);
    c.fill(path, colour);
}

void pocketMask(C c, double cx, double cy, double s, QColor colour)
{
    QPainterPath path(QPointF(cx, cy - 9 * s));
    path.cubicTo(cx + 5 * s, cy - 8 * s, cx + 10 * s, cy + 4 * s, cx + 8 * s, cy + 8 * s);
    path.cubicTo(cx + 4 * s, cy + 10 * s, cx - 4 * s, cy + 10 * s, cx - 8 * s, cy + 8 * s);
    path.cubicTo(cx - 10 * s, cy + 4 * s, cx - 5 * s, cy - 8 * s, cx, cy - 9 * s);
    c.stroke(path, colour, c.penWidth() * 1.2);
    c.rect(cx - 2 * s, cy - 1 * s, 4 * s, 6 * s, colour, true, 1 * s);
}

void car(C c, double y, QColor colour)
{
    QPainterPath body(QPointF(2, y + 6));
    body.lineTo(2, y);
    body.lineTo(8, y - 6);
    body.lineTo(21, y - 6);
    body.lineTo(26, y);
    body.lineTo(30, y + 1);
    body.lineTo(30, y + 6);
    body.closeSubpath();
    c.fill(body, colour);
    c.rect(9, y - 4, 5, 4, c.paper(), true);
    c.rect(16, y - 4, 5, 4, c.paper(), true);
    c.circle(9, y + 6, 3.2, c.ink(), true);
    c.circle(23, y + 6, 3.2, c.ink(), true);
    c.circle(9, y + 6, 1.2, c.paper(), true);
    c.circle(23, y + 6, 1.2, c.paper(), true);
}

void circularArrows(C c, double cx, double cy, double r, QColor colour)
{
    c.arc(cx, cy, r, 20, 150, colour, true);
    c.arc(cx, cy, r, 200, 150, colour, true);
}

void questionMark(C c, double cx, double top, double s, QColor colour)
{
    QPainterPath path;
    const QRectF box(cx - 5 * s, top, 10 * s, 10 * s);
    path.arcMoveTo(box, 160);
    path.arcTo(box, 160, -230);
    path.lineTo(cx, top + 14 * s);
    c.stroke(path, colour, c.penWidth() * 1.3);
    c.circle(cx, top + 19 * s, c.penWidth() * 0.85, colour, true);
}

// ---- the pictograms ------------------------------------------------------

using Draw = std::function<void(C)>;

const std::array<Draw, EVENT_ICON_COUNT>& pictograms()
{
    static const std::array<Draw, EVENT_ICON_COUNT> table = {{
        // 0: phone - call for help
        [](C c) {
            QPainter& p = c.painter();
            p.save();
            // Ear and mouth pieces towards the upper right, the grip bowed to the lower left.
            p.translate(16, 16);
            p.rotate(225);
            p.scale(0.85, 0.85);
            QPainterPath handle(QPointF(-9, -1));
            handle.cubicTo(-5, -6, 5, -6, 9, -1);
            c.stroke(handle, c.tone(GREEN), 7);
            c.polygon({QPointF(-17, -4), QPointF(-5, -4), QPointF(-6.5, 8), QPointF(-15.5, 8)}, c.tone(GREEN));
            c.polygon({QPointF(5, -4), QPointF(17, -4), QPointF(15.5, 8), QPointF(6.5, 8)}, c.tone(GREEN));
            p.restore();
        },
        // 1: shake and shout - check whether the casualty responds
        [](C c) {
            headSilhouette(c, 1, 1, 21, c.ink());
            waves(c, 16, 14, 6, 3, -35, 70, c.tone(ORANGE));
            c.arrow(6, 26.5, 1, 26.5, c.tone(ORANGE), c.penWidth());
            c.arrow(14, 26.5, 19, 26.5, c.tone(ORANGE), c.penWidth());
        },
        // 2: pulse - check the circulation
        [](C c) {
            heart(c, 16, 16, 13, c.tone(RED));
            ecg(c, 1, 31, 17, 10, c.paper(), c.penWidth() * 1.1);
        },
        // 3: airway - clear the mouth with a finger sweep
        [](C c) {
            const QPointF mouth = headSilhouette(c, 0, 2, 27, c.ink());
            c.polygon({QPointF(mouth.x() + 1, mouth.y() - 2), QPointF(mouth.x() - 5, mouth.y()),
                       QPointF(mouth.x() + 1, mouth.y() + 2.5)},
                      c.paper());
            c.polyline({QPointF(31, 30), QPointF(mouth.x() + 3, mouth.y() + 4), QPointF(mouth.x() - 3, mouth.y()),
                        QPointF(mouth.x(), mouth.y() - 2)},
                       c.tone(BLUE), c.penWidth() * 1.4);
        },
        // 4: breathing - look, listen and feel for breath
        [](C c) {
            headSilhouette(c, 0, 3, 24, c.ink());
            for (double y : {10.0, 16.0, 22.0}) {
                QPainterPath breath(QPointF(22, y));
                breath.cubicTo(24, y - 3, 26, y + 3, 28, y);
                breath.lineTo(30, y);
                c.stroke(breath, c.tone(BLUE));
            }
        },
        // 5: head tilt - open the airway, forehead back, chin up
        [](C c) {
            QPainter& p = c.painter();
            p.save();
            p.translate(17, 18);
            p.rotate(-35);
            headSilhouette(c, -10, -11, 21, c.ink());
            p.restore();
            c.arc(16, 17, 13.5, 80, 95, c.tone(BLUE), true, c.penWidth() * 1.1);
        },
        // 6: chest compressions
        [](C c) {
            lyingPerson(c, 25, c.ink());
            pressingHands(c, 17, 12, c.tone(RED));
            c.arrow(27, 4, 27, 16, c.tone(RED));
        },
        // 7: rescue breaths
        [](C c) {
            lungs(c, 16, 19, 1.1, c.tone(BLUE));
            c.arrow(16, 0.5, 16, 9, c.ink(), c.penWidth() * 1.1);
        },
        // 8: AED
        [](C c) { aedBox(c, 3, 5, 26, 22, c.tone(GREEN)); },
        // 9: AED pads on the chest
        [](C c) {
            torso(c, c.ink());
            pads(c, c.tone(GREEN));
            c.line(11.5, 12, 11.5, 4, c.ink(), c.penWidth() * 0.7);
            c.line(21.5, 27, 29, 27, c.ink(), c.penWidth() * 0.7);
        },
        // 10: shock delivered
        [](C c) { bolt(c, 16, 16, 15, c.tone(ORANGE)); },
        // 11: rhythm check
        [](C c) {
            monitor(c, c.ink());
            ecg(c, 5, 27, 16, 9, c.tone(GREEN));
        },
        // 12: adrenaline
        [](C c) { syringe(c, 16, 16, 1.1, c.tone(RED)); },
        // 13: recovery position
        [](C c) {
            // On the side, head resting on the hand, the upper knee bent forward to the ground.
            const double w = c.penWidth() * 1.5;
            c.circle(6, 17, 4, c.ink(), true);
            c.line(10.5, 19, 21, 20, c.ink(), w * 1.4);
            c.polyline({QPointF(12, 19.5), QPointF(9, 25.5), QPointF(3, 25.5)}, c.ink(), w * 0.8);
            c.polyline({QPointF(21, 20), QPointF(24, 26), QPointF(29, 26)}, c.ink(), w);
            c.line(21, 20, 30, 19.5, c.ink(), w);
            c.line(1, 29.5, 31, 29.5, c.tone(GREEN), c.penWidth() * 0.9);
        },
        // 14: gloves
        [](C c) {
            hand(c, 8, 2, 1.1, c.tone(TEAL));
            c.rect(10, 24, 12, 6, c.tone(TEAL), true, 1);
            c.line(10, 24.5, 22, 24.5, c.paper(), c.penWidth() * 0.6);
        },
        // 15: pocket mask
        [](C c) { pocketMask(c, 16, 17, 1.35, c.tone(TEAL)); },
        // 16: bag-valve-mask
        [](C c) {
            QPainterPath bag;
            bag.addEllipse(QPointF(11, 12), 8.5, 6);
            c.fill(bag, c.tone(BLUE));
            c.rect(19, 10, 5, 4, c.ink(), true);
            pocketMask(c, 25, 22, 0.6, c.ink());
            c.line(24, 14, 25, 17, c.ink());
        },
        // 17: ambulance
        [](C c) {
            c.rect(2, 10, 18, 14, c.ink(), false, 1.5);
            QPainterPath cab(QPointF(20, 24));
            cab.lineTo(20, 14);
            cab.lineTo(26, 14);
            cab.lineTo(30, 19);
            cab.lineTo(30, 24);
            c.stroke(cab, c.ink());
            medicalCross(c, 11, 17, 4.5, c.tone(RED));
            c.circle(8, 25, 3, c.ink(), true);
            c.circle(24, 25, 3, c.ink(), true);
            c.rect(8, 5, 5, 3, c.tone(BLUE), true);
        },
        // 18: oxygen
        [](C c) {
            c.rect(4, 8, 11, 22, c.tone(GREEN), true, 4);
            c.rect(7, 3, 5, 6, c.ink(), true, 1);
            c.text("O", 17, 9, 12, c.ink());
            c.text("2", 26, 17, 8, c.ink(), c.penWidth() * 0.8);
        },
        // 19: timer started
        [](C c) { stopwatch(c, 16, 18, 11, c.ink()); },
        // 20: thirty compressions
        [](C c) {
            c.text("30", 2, 4, 13, c.ink());
            pressingHands(c, 16, 23, c.tone(RED));
            c.line(3, 31, 29, 31, c.ink(), c.penWidth() * 0.8);
        },
        // 21: two breaths
        [](C c) {
            lungs(c, 20, 19, 0.9, c.tone(BLUE));
            c.text("2", 1, 3, 12, c.ink());
        },
        // 22: swap rescuers
        [](C c) {
            person(c, 7, 13, 0.8, c.ink());
            person(c, 25, 13, 0.8, c.ink());
            c.arc(16, 14, 8, 150, -120, c.tone(ORANGE), true);
            c.arc(16, 20, 8, 330, -120, c.tone(ORANGE), true);
        },
        // 23: hands off
        [](C c) { hand(c, 7, 3, 1.3, c.tone(RED)); },
        // 24: resume CPR
        [](C c) {
            c.circle(16, 16, 13, c.tone(GREEN), true);
            c.polygon({QPointF(12, 9), QPointF(24, 16), QPointF(12, 23)}, c.paper());
        },
        // 25: oropharyngeal airway
        [](C c) {
            c.rect(3, 5, 14, 5, c.ink(), true, 1.5);
            QPainterPath tube(QPointF(10, 10));
            tube.quadTo(10, 26, 27, 27);
            c.stroke(tube, c.tone(BLUE), c.penWidth() * 2.4);
        },
        // 26: suction
        [](C c) {
            c.rect(3, 11, 12, 18, c.ink(), false, 2);
            c.rect(5, 20, 8, 7, c.tone(BLUE), true, 1);
            QPainterPath hose(QPointF(9, 11));
            hose.cubicTo(9, 2, 22, 2, 22, 12);
            hose.lineTo(28, 28);
            c.stroke(hose, c.ink());
        },
        // 27: intubation
        [](C c) {
            QPainterPath tube(QPointF(6, 4));
            tube.quadTo(25, 6, 24, 29);
            c.stroke(tube, c.tone(BLUE), c.penWidth() * 1.6);
            QPainterPath cuff;
            cuff.addEllipse(QPointF(23.8, 24), 3.5, 3);
            c.fill(cuff, c.ink());
            c.rect(2, 2, 6, 5, c.ink(), true, 1);
        },
        // 28: intravenous access
        [](C c) {
            c.rect(8, 2, 14, 15, c.tone(BLUE), true, 3);
            c.line(11, 7, 19, 7, c.paper(), c.penWidth() * 0.7);
            c.line(15, 17, 15, 22, c.ink());
            c.rect(13, 21, 4, 4, c.ink(), false);
            QPainterPath line(QPointF(15, 25));
            line.quadTo(15, 30, 26, 29);
            c.stroke(line, c.ink());
        },
        // 29: amiodarone (an ampoule)
        [](C c) {
            QPainterPath amp(QPointF(9, 30));
            amp.lineTo(9, 15);
            amp.quadTo(9, 11, 13.5, 10);
            amp.lineTo(13.5, 8);
            amp.quadTo(11, 5, 13.5, 2);
            amp.lineTo(18.5, 2);
            amp.quadTo(21, 5, 18.5, 8);
            amp.lineTo(18.5, 10);
            amp.quadTo(23, 11, 23, 15);
            amp.lineTo(23, 30);
            amp.closeSubpath();
            c.fill(amp, c.tone(PURPLE));
            c.line(12, 9, 20, 9, c.paper(), c.penWidth() * 0.7);
            c.rect(12, 18, 8, 8, c.paper(), true);
        },
        // 30: ECG leads attached
        [](C c) {
            ecg(c, 1, 31, 18, 14, c.tone(GREEN), c.penWidth() * 1.2);
            for (double x : {5.0, 16.0, 27.0})
                c.circle(x, 28, 2.2, c.ink(), true);
        },
        // 31: check the pupils
        [](C c) {
            QPainterPath eye(QPointF(2, 16));
            eye.quadTo(16, 2, 30, 16);
            eye.quadTo(16, 30, 2, 16);
            c.stroke(eye, c.ink(), c.penWidth() * 1.2);
            c.circle(16, 16, 5.5, c.tone(BLUE), true);
            c.circle(16, 16, 2.2, c.ink(), true);
        },
        // 32: listen
        [](C c) {
            QPainterPath ear(QPointF(11, 24));
            ear.cubicTo(7, 30, 4, 18, 9, 10);
            ear.cubicTo(13, 2, 25, 4, 24, 14);
            ear.cubicTo(23, 20, 17, 20, 17, 26);
            ear.cubicTo(17, 30, 12, 30, 11, 28);
            c.stroke(ear, c.ink(), c.penWidth() * 1.2);
            QPainterPath inner(QPointF(12, 16));
            inner.cubicTo(11, 10, 19, 9, 19, 14);
            c.stroke(inner, c.ink());
            waves(c, 28, 16, 3, 1, 120, 120, c.tone(BLUE));
        },
        // 33: chest rises
        [](C c) {
            torso(c, c.ink());
            c.arrow(16, 26, 16, 12, c.tone(BLUE), c.penWidth() * 1.3);
        },
        // 34: inspect the mouth
        [](C c) {
            QPainterPath lips(QPointF(2, 15));
            lips.cubicTo(8, 6, 24, 6, 30, 15);
            lips.cubicTo(24, 28, 8, 28, 2, 15);
            c.fill(lips, c.tone(RED));
            QPainterPath mouth(QPointF(7, 15));
            mouth.cubicTo(12, 12, 20, 12, 25, 15);
            mouth.cubicTo(20, 21, 12, 21, 7, 15);
            c.fill(mouth, c.paper());
        },
        // 35: jaw thrust
        [](C c) {
            QPainter& p = c.painter();
            p.save();
            p.translate(14, 15);
            p.rotate(-20);
            headSilhouette(c, -10, -11, 21, c.ink());
            p.restore();
            c.rect(13, 25, 9, 3, c.tone(BLUE), true, 1.5);
            c.rect(13, 29, 9, 3, c.tone(BLUE), true, 1.5);
            c.arrow(27, 31, 27, 14, c.tone(BLUE), c.penWidth() * 1.1);
        },
        // 36: back blows
        [](C c) {
            const double w = c.penWidth() * 1.4;
            c.circle(26, 19, 3.6, c.ink(), true);
            c.line(9, 19, 22, 16, c.ink(), w * 1.3);
            c.polyline({QPointF(5, 31), QPointF(9, 19), QPointF(11, 31)}, c.ink(), w);
            c.line(20, 17, 24, 26, c.ink(), w);
            c.rect(9, 3, 8, 5, c.tone(ORANGE), true, 2);
            c.arrow(13, 8, 14, 15, c.tone(ORANGE));
        },
        // 37: abdominal thrusts
        [](C c) {
            person(c, 12, 5, 1.4, c.ink());
            c.circle(19, 15, 3.5, c.tone(ORANGE), true);
            c.arrow(24, 24, 29, 10, c.tone(ORANGE), c.penWidth() * 1.1);
        },
        // 38: infant CPR
        [](C c) {
            c.circle(8, 22, 4.5, c.ink(), true);
            c.line(12, 23, 26, 23, c.ink(), c.penWidth() * 1.8);
            c.rect(17, 7, 2.5, 12, c.tone(RED), true, 1.2);
            c.rect(20.5, 6, 2.5, 13, c.tone(RED), true, 1.2);
            c.line(4, 29, 29, 29, c.ink(), c.penWidth() * 0.6);
        },
        // 39: child
        [](C c) { person(c, 16, 9, 1.15, c.tone(PURPLE)); },
        // 40: adult
        [](C c) { person(c, 16, 4, 1.5, c.ink()); },
        // 41: fetch the AED
        [](C c) {
            aedBox(c, 2, 12, 17, 15, c.tone(GREEN));
            c.arrow(30, 6, 18, 6, c.ink(), c.penWidth() * 1.2);
        },
        // 42: shout for help
        [](C c) {
            person(c, 10, 10, 1.05, c.ink());
            c.line(10, 15, 15, 5, c.ink(), c.penWidth() * 1.3);
            waves(c, 14, 10, 5, 3, -40, 80, c.tone(ORANGE));
        },
        // 43: bystander helps
        [](C c) {
            person(c, 9, 7, 1.1, c.ink());
            person(c, 23, 7, 1.1, c.tone(BLUE));
        },
        // 44: note the time
        [](C c) { clockFace(c, 16, 16, 13, c.ink()); },
        // 45: two minutes
        [](C c) {
            clockFace(c, 12, 17, 10, c.ink());
            c.text("2", 23, 2, 11, c.tone(RED));
        },
        // 46: cycle completed
        [](C c) { circularArrows(c, 16, 16, 11, c.tone(GREEN)); },
        // 47: shockable rhythm
        [](C c) {
            c.polyline({QPointF(1, 20), QPointF(4, 12), QPointF(6, 25), QPointF(9, 10), QPointF(11, 24),
                        QPointF(14, 14), QPointF(16, 22), QPointF(18, 17)},
                       c.ink());
            bolt(c, 25, 16, 13, c.tone(ORANGE));
        },
        // 48: non-shockable rhythm
        [](C c) {
            bolt(c, 16, 16, 13, c.tone(ORANGE));
            c.circle(16, 16, 13.5, c.tone(RED), false);
            c.line(7, 25, 25, 7, c.tone(RED), c.penWidth() * 1.3);
        },
        // 49: asystole
        [](C c) {
            monitor(c, c.ink());
            c.line(6, 16, 26, 16, c.tone(RED));
        },
        // 50: return of spontaneous circulation
        [](C c) {
            heart(c, 14, 15, 12, c.tone(RED));
            checkMark(c, 15, 23, 1.3, c.ink());
        },
        // 51: blood pressure
        [](C c) {
            c.circle(12, 13, 9.5, c.ink(), false);
            c.line(12, 13, 17, 8, c.tone(RED));
            c.circle(12, 13, 1.8, c.ink(), true);
            QPainterPath tube(QPointF(12, 22.5));
            tube.quadTo(12, 29, 20, 27);
            c.stroke(tube, c.ink());
            QPainterPath bulb;
            bulb.addEllipse(QPointF(25, 26), 5, 3.8);
            c.fill(bulb, c.tone(RED));
        },
        // 52: oxygen saturation (finger clip)
        [](C c) {
            c.rect(7, 2, 9, 28, c.ink(), false, 4.5);
            c.rect(3, 12, 22, 11, c.tone(TEAL), true, 3);
            c.circle(29, 17, 2, c.tone(RED), true);
            c.line(25, 17, 27, 17, c.ink());
        },
        // 53: temperature
        [](C c) {
            c.rect(13, 2, 6, 21, c.ink(), false, 3);
            c.circle(16, 25, 5, c.tone(RED), true);
            c.line(16, 12, 16, 24, c.tone(RED), c.penWidth() * 1.3);
            for (double y : {6.0, 10.0, 14.0})
                c.line(20.5, y, 24, y, c.ink(), c.penWidth() * 0.7);
        },
        // 54: keep warm (blanket)
        [](C c) {
            c.circle(5, 15, 3.5, c.ink(), true);
            QPainterPath blanket(QPointF(9, 12));
            blanket.lineTo(30, 12);
            blanket.lineTo(30, 22);
            blanket.quadTo(24, 26, 19, 22);
            blanket.quadTo(14, 18, 9, 22);
            blanket.closeSubpath();
            c.fill(blanket, c.tone(ORANGE));
            c.line(3, 26, 30, 26, c.ink(), c.penWidth() * 0.7);
        },
        // 55: bleeding
        [](C c) { droplet(c, 16, 16, 1.7, c.tone(RED)); },
        // 56: bandage
        [](C c) {
            QPainter& p = c.painter();
            p.save();
            p.translate(16, 16);
            p.rotate(-45);
            c.rect(-15, -5.5, 30, 11, c.tone(ORANGE), true, 5);
            c.rect(-5, -4, 10, 8, c.paper(), true, 1);
            p.restore();
            c.circle(14.5, 14.5, 0.9, c.ink(), true);
            c.circle(17.5, 17.5, 0.9, c.ink(), true);
        },
        // 57: stethoscope
        [](C c) {
            QPainterPath tubes(QPointF(6, 3));
            tubes.lineTo(6, 12);
            tubes.quadTo(6, 20, 12, 20);
            tubes.quadTo(18, 20, 18, 12);
            tubes.lineTo(18, 3);
            tubes.moveTo(12, 20);
            tubes.quadTo(12, 29, 20, 29);
            tubes.quadTo(25, 29, 25, 23);
            c.stroke(tubes, c.ink());
            c.circle(25, 20, 4, c.tone(TEAL), true);
        },
        // 58: naloxone (nasal spray)
        [](C c) {
            c.rect(9, 14, 14, 16, c.tone(PURPLE), true, 3);
            c.rect(13, 8, 6, 6, c.ink(), true);
            c.rect(14.5, 2, 3, 7, c.ink(), true, 1.5);
            c.line(11.5, 14, 20.5, 14, c.paper(), c.penWidth() * 0.7);
        },
        // 59: medication given
        [](C c) {
            QPainter& p = c.painter();
            p.save();
            p.translate(16, 16);
            p.rotate(-40);
            c.rect(-13, -6, 26, 12, c.ink(), false, 6);
            QPainterPath half;
            half.addRoundedRect(QRectF(-13, -6, 13, 12), 6, 6);
            half.addRect(QRectF(-6, -6, 6, 12));
            half.setFillRule(Qt::WindingFill);
            c.fill(half.simplified(), c.tone(PURPLE));
            p.restore();
        },
        // 60: hospital handover
        [](C c) {
            c.rect(4, 8, 24, 22, c.ink(), false, 1);
            medicalCross(c, 16, 17, 6, c.tone(RED));
            c.line(2, 8, 30, 8, c.ink(), c.penWidth() * 1.2);
            c.rect(13, 24, 6, 6, c.ink(), true);
        },
        // 61: documentation
        [](C c) {
            c.rect(6, 4, 20, 26, c.ink(), false, 2);
            c.rect(11, 2, 10, 5, c.ink(), true, 1.5);
            for (double y : {13.0, 18.0, 23.0})
                c.line(10, y, 22, y, c.tone(BLUE), c.penWidth() * 0.8);
        },
        // 62: debriefing
        [](C c) {
            c.rect(2, 3, 18, 12, c.ink(), true, 3);
            c.polygon({QPointF(6, 14), QPointF(5, 20), QPointF(11, 14)}, c.ink());
            c.rect(12, 15, 18, 11, c.tone(BLUE), true, 3);
            c.polygon({QPointF(25, 25), QPointF(27, 31), QPointF(20, 25)}, c.tone(BLUE));
        },
        // 63: secure the scene (traffic cone)
        [](C c) {
            c.polygon({QPointF(16, 2), QPointF(24, 26), QPointF(8, 26)}, c.tone(ORANGE));
            c.polygon({QPointF(12.5, 12), QPointF(19.5, 12), QPointF(21, 17), QPointF(11, 17)}, c.paper());
            c.rect(3, 26, 26, 4, c.ink(), true, 1);
        },
        // 64: electrical danger
        [](C c) {
            warningTriangle(c, c.ink());
            bolt(c, 16, 19, 7.5, c.tone(ORANGE));
        },
        // 65: fire
        [](C c) {
            QPainterPath flame(QPointF(16, 2));
            flame.cubicTo(20, 10, 28, 14, 26, 22);
            flame.cubicTo(25, 28, 20, 31, 16, 31);
            flame.cubicTo(10, 31, 5, 27, 6, 20);
            flame.cubicTo(7, 15, 11, 14, 11, 9);
            flame.cubicTo(14, 12, 13, 16, 16, 17);
            flame.cubicTo(17, 11, 14, 8, 16, 2);
            c.fill(flame, c.tone(ORANGE));
            droplet(c, 16, 25, 0.6, c.paper());
        },
        // 66: drowning
        [](C c) {
            c.circle(16, 14, 4.5, c.ink(), true);
            c.line(12, 17, 5, 3, c.ink(), c.penWidth() * 1.2);
            c.line(20, 17, 27, 3, c.ink(), c.penWidth() * 1.2);
            for (double y : {22.0, 28.0}) {
                QPainterPath wave(QPointF(1, y));
                for (double x = 1; x < 31; x += 8) {
                    wave.quadTo(x + 2, y - 3, x + 4, y);
                    wave.quadTo(x + 6, y + 3, x + 8, y);
                }
                c.stroke(wave, c.tone(BLUE));
            }
        },
        // 67: traffic accident
        [](C c) {
            car(c, 20, c.ink());
            bolt(c, 26, 7, 6, c.tone(RED));
        },
        // 68: cervical collar
        [](C c) {
            c.circle(16, 9, 7, c.ink(), true);
            c.rect(8, 17, 16, 6, c.tone(ORANGE), true, 2);
            c.line(12, 20, 20, 20, c.paper(), c.penWidth() * 0.6);
            QPainterPath shoulders(QPointF(3, 31));
            shoulders.quadTo(4, 24, 10, 24);
            shoulders.lineTo(22, 24);
            shoulders.quadTo(28, 24, 29, 31);
            c.stroke(shoulders, c.ink());
        },
        // 69: helmet removal
        [](C c) {
            QPainterPath helmet(QPointF(3, 22));
            helmet.cubicTo(3, 4, 29, 4, 29, 20);
            helmet.lineTo(20, 20);
            helmet.lineTo(20, 24);
            helmet.lineTo(3, 24);
            helmet.closeSubpath();
            c.fill(helmet, c.tone(RED));
            c.rect(20.5, 14, 8, 5, c.paper(), true, 1);
            c.arrow(8, 31, 8, 26.5, c.ink());
            c.arrow(24, 31, 24, 26.5, c.ink());
        },
        // 70: hand position
        [](C c) {
            torso(c, c.ink());
            c.circle(16, 19, 5.5, c.tone(RED), false);
            c.line(16, 11, 16, 27, c.tone(RED), c.penWidth() * 0.8);
            c.line(8, 19, 24, 19, c.tone(RED), c.penWidth() * 0.8);
        },
        // 71: compression depth
        [](C c) {
            c.line(4, 6, 28, 6, c.ink(), c.penWidth() * 1.2);
            c.line(4, 26, 28, 26, c.ink(), c.penWidth() * 1.2);
            c.arrow(16, 8, 16, 24, c.tone(RED), c.penWidth() * 1.2);
            c.arrow(16, 24, 16, 8.5, c.tone(RED), c.penWidth() * 1.2);
        },
        // 72: compression rate (metronome)
        [](C c) {
            c.polygon({QPointF(11, 2), QPointF(21, 2), QPointF(27, 30), QPointF(5, 30)}, c.tone(BROWN));
            c.polygon({QPointF(11, 20), QPointF(21, 20), QPointF(22, 26), QPointF(10, 26)}, c.paper());
            c.line(16, 24, 24, 6, c.ink(), c.penWidth());
            c.rect(19.5, 10, 4, 3, c.ink(), true);
        },
        // 73: full recoil
        [](C c) {
            c.line(4, 28, 28, 28, c.ink(), c.penWidth() * 1.2);
            c.arrow(16, 26, 16, 4, c.tone(GREEN), c.penWidth() * 1.4);
            c.rect(6, 22, 20, 4, c.ink(), true);
        },
        // 74: minimise pauses (hourglass)
        [](C c) {
            c.line(6, 3, 26, 3, c.ink(), c.penWidth() * 1.3);
            c.line(6, 29, 26, 29, c.ink(), c.penWidth() * 1.3);
            c.polyline({QPointF(8, 3), QPointF(8, 7), QPointF(16, 16), QPointF(24, 25), QPointF(24, 29)}, c.ink());
            c.polyline({QPointF(24, 3), QPointF(24, 7), QPointF(16, 16), QPointF(8, 25), QPointF(8, 29)}, c.ink());
            c.polygon({QPointF(10, 28), QPointF(22, 28), QPointF(16, 21)}, c.tone(ORANGE));
            c.polygon({QPointF(11, 8), QPointF(21, 8), QPointF(16, 13)}, c.tone(ORANGE));
        },
        // 75: change compressor
        [](C c) {
            pressingHands(c, 16, 17, c.tone(RED));
            c.arc(16, 16, 12.5, 200, -220, c.ink(), true);
        },
        // 76: defibrillator charging
        [](C c) {
            c.rect(3, 8, 23, 16, c.ink(), false, 2);
            c.rect(26, 13, 3.5, 6, c.ink(), true);
            c.rect(6, 11, 6, 10, c.tone(GREEN), true);
            c.rect(13.5, 11, 6, 10, c.tone(GREEN), true);
        },
        // 77: stand clear
        [](C c) {
            person(c, 16, 5, 1.1, c.ink());
            c.line(16, 10, 10, 4, c.ink(), c.penWidth() * 1.2);
            c.line(16, 10, 22, 4, c.ink(), c.penWidth() * 1.2);
            c.arrow(8, 20, 1, 20, c.tone(RED));
            c.arrow(24, 20, 31, 20, c.tone(RED));
        },
        // 78: pads removed
        [](C c) {
            pads(c, c.tone(GREEN));
            torso(c, c.ink());
            crossMark(c, 16, 19, 10, c.tone(RED));
        },
        // 79: shave the chest
        [](C c) {
            c.rect(4, 4, 22, 9, c.tone(TEAL), true, 2);
            c.line(6, 8.5, 24, 8.5, c.paper(), c.penWidth() * 0.6);
            c.rect(13, 13, 4, 17, c.ink(), true, 2);
        },
        // 80: dry the chest
        [](C c) {
            droplet(c, 11, 14, 1.1, c.tone(BLUE));
            c.rect(16, 10, 14, 18, c.ink(), false, 1.5);
            for (double y : {15.0, 19.0, 23.0})
                c.line(19, y, 27, y, c.ink(), c.penWidth() * 0.7);
        },
        // 81: wrist pulse
        [](C c) {
            // A forearm with the hand open at its end; two fingers rest on the wrist.
            hand(c, 15, 0, 1.0, c.ink());
            c.rect(17.5, 18, 11, 14, c.ink(), true, 2);
            c.rect(3, 18.5, 18, 10, c.paper(), true, 2);
            c.rect(4, 19.5, 16, 3.4, c.tone(RED), true, 1.7);
            c.rect(4, 24.5, 16, 3.4, c.tone(RED), true, 1.7);
            c.polyline({QPointF(1, 9), QPointF(4, 9), QPointF(6, 3), QPointF(8, 14), QPointF(10, 9), QPointF(13, 9)},
                       c.tone(RED), c.penWidth() * 0.8);
        },
        // 82: agonal breathing
        [](C c) {
            lungs(c, 12, 19, 0.85, c.tone(BLUE));
            questionMark(c, 25, 4, 0.75, c.ink());
        },
        // 83: no breathing
        [](C c) {
            lungs(c, 16, 18, 1.05, c.tone(BLUE));
            crossMark(c, 16, 18, 11, c.tone(RED));
        },
        // 84: normal breathing
        [](C c) {
            lungs(c, 12, 19, 0.85, c.tone(BLUE));
            checkMark(c, 20, 10, 1.0, c.tone(GREEN));
        },
        // 85: turn on the side
        [](C c) {
            lyingPerson(c, 22, c.ink());
            c.arc(17, 22, 11, 180, -160, c.tone(GREEN), true, c.penWidth() * 1.1);
        },
        // 86: air rescue (helicopter)
        [](C c) {
            c.line(2, 5, 30, 5, c.ink(), c.penWidth() * 1.1);
            c.line(16, 5, 16, 10, c.ink());
            QPainterPath body;
            body.addEllipse(QPointF(13, 16), 9, 6);
            c.fill(body, c.tone(RED));
            c.line(21, 15, 31, 12, c.tone(RED), c.penWidth() * 1.3);
            c.line(5, 25, 21, 25, c.ink());
            c.line(9, 21, 9, 25, c.ink());
            c.line(17, 21, 17, 25, c.ink());
        },
        // 87: paramedic arrives
        [](C c) {
            person(c, 16, 4, 1.5, c.ink());
            c.circle(24, 22, 6, c.paper(), true);
            medicalCross(c, 24, 22, 5, c.tone(RED));
        },
        // 88: start
        [](C c) {
            c.line(6, 2, 6, 30, c.ink(), c.penWidth() * 1.3);
            c.polygon({QPointF(7, 3), QPointF(28, 9), QPointF(7, 16)}, c.tone(GREEN));
        },
        // 89: stop
        [](C c) {
            c.polygon({QPointF(10, 2), QPointF(22, 2), QPointF(30, 10), QPointF(30, 22), QPointF(22, 30),
                       QPointF(10, 30), QPointF(2, 22), QPointF(2, 10)},
                      c.tone(RED));
            c.rect(10, 10, 12, 12, c.paper(), true);
        },
        // 90: uncertain
        [](C c) { questionMark(c, 16, 3, 1.2, c.tone(BLUE)); },
        // 91: correct
        [](C c) { checkMark(c, 4, 17, 2.2, c.tone(GREEN)); },
        // 92: wrong
        [](C c) { crossMark(c, 16, 16, 11, c.tone(RED)); },
        // 93: remark
        [](C c) {
            c.circle(16, 16, 13.5, c.ink(), false);
            exclamation(c, 16, 7, 19, c.tone(ORANGE));
        },
        // 94: important
        [](C c) {
            c.polygon({QPointF(16, 2), QPointF(19.8, 11.5), QPointF(30, 12), QPointF(22, 18.5), QPointF(24.8, 29),
                       QPointF(16, 23), QPointF(7.2, 29), QPointF(10, 18.5), QPointF(2, 12), QPointF(12.2, 11.5)},
                      c.tone(ORANGE));
        },
        // 95: pause
        [](C c) {
            c.rect(7, 4, 7, 24, c.ink(), true, 1.5);
            c.rect(18, 4, 7, 24, c.ink(), true, 1.5);
        },
        // 96: own safety - look out for danger before approaching
        [](C c) {
            warningTriangle(c, c.tone(RED));
            c.line(16, 11, 16, 20, c.ink(), c.penWidth() * 1.9);
            c.circle(16, 24.5, c.penWidth() * 1.0, c.ink(), true);
        },
    }};
    return table;
}

} // namespace

void drawEventIcon(const IconCanvas& canvas, int index)
{
    if (index < 0 || index >= EVENT_ICON_COUNT)
        return;
    pictograms()[static_cast<std::size_t>(index)](canvas);
}

} // namespace images
