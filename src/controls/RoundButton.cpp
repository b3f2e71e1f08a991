#include "controls/RoundButton.h"

#include "controls/ControlReplacement.h"

#include <QPainter>
#include <QPainterPath>

#include <memory>

namespace kova {
namespace {

// The two face colours of a focused button.
constexpr COLORREF FOCUS_UPPER = 0xFEECBC;
constexpr COLORREF FOCUS_LOWER = 0xFDE197;
// The 3-D colours the button is drawn with, from the widget's palette.
struct Colours {
    QColor face, darkShadow, shadow, light, highlight, activeBorder;
};

Colours coloursOf(const QPalette& palette)
{
    return {palette.color(QPalette::Button), palette.color(QPalette::Shadow), palette.color(QPalette::Dark),
            palette.color(QPalette::Midlight), palette.color(QPalette::Light), palette.color(QPalette::Mid)};
}

// A rounded-rectangle region with 4 x 4 corners, as (left, top, right, bottom).
void fillRegion(QPainter& painter, int left, int top, int right, int bottom, const QColor& colour)
{
    if (right <= left || bottom <= top)
        return;
    QPainterPath path;
    path.addRoundedRect(QRectF(left, top, right - left, bottom - top), 2, 2);
    painter.fillPath(path, colour);
}

// The dotted focus frame: every other pixel of the rectangle's edge.
void drawFocusRect(QPainter& painter, const QRect& rect, const QColor& colour)
{
    if (rect.width() < 2 || rect.height() < 2)
        return;
    painter.setPen(colour);
    for (int x = rect.left(); x <= rect.right(); x += 2) {
        painter.drawPoint(x, rect.top());
        painter.drawPoint(x, rect.bottom());
    }
    for (int y = rect.top(); y <= rect.bottom(); y += 2) {
        painter.drawPoint(rect.left(), y);
        painter.drawPoint(rect.right(), y);
    }
}

} // namespace

RoundButton::RoundButton(QWidget* parent) : QPushButton(parent) {}

RoundButton::RoundButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

RoundButton* RoundButton::attach(QWidget* parentDialog, int controlId)
{
    auto button = std::make_unique<RoundButton>();
    if (!replaceDialogControl(parentDialog, controlId, button.get()))
        return nullptr;
    return button.release();
}

void RoundButton::DrawItem(QPainter& painter, const DrawItemStruct& item) const
{
    const Colours colours = coloursOf(palette());
    const int w = item.rcItem.width();
    const int h = item.rcItem.height();
    // The origin is the device's viewport extent, one pixel in each direction.
    const int ox = item.rcItem.left() + 1;
    const int oy = item.rcItem.top() + 1;
    const bool pressed = item.itemState & ODS_SELECTED;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    fillRegion(painter, ox, oy, ox + w, oy + h, pressed ? colours.activeBorder : colours.highlight);
    fillRegion(painter, ox + 1, oy + 1, ox + w - 1, oy + h - 1, pressed ? colours.darkShadow : colours.light);
    if (!pressed) {
        fillRegion(painter, ox + 2, oy + 2, ox + w, oy + h, colours.darkShadow);
        fillRegion(painter, ox + 2, oy + 2, ox + w - 1, oy + h - 1, colours.shadow);
    }
    const bool focused = item.itemState & ODS_FOCUS;
    fillRegion(painter, ox + 2, oy + 2, ox + w - 2, oy + h - 2, focused ? colorFromRef(FOCUS_UPPER) : colours.light);
    fillRegion(painter, ox + 2, oy + h / 2, ox + w - 2, oy + h - 2, focused ? colorFromRef(FOCUS_LOWER) : colours.face);
    if (focused)
        drawFocusRect(painter, item.rcItem.adjusted(4, 4, -4, -4), palette().color(QPalette::ButtonText));
    painter.setPen(palette().color(item.itemState & ODS_DISABLED ? QPalette::Disabled : QPalette::Active,
                                   item.itemState & ODS_DISABLED ? QPalette::Text : QPalette::ButtonText));
    painter.setBrush(Qt::NoBrush);
    painter.setFont(font());
    painter.drawText(item.rcItem, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
    painter.restore();
}

void RoundButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawItem(painter, drawItemOf(*this));
}

} // namespace kova
