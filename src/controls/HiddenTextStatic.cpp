#include "controls/HiddenTextStatic.h"

#include <QPainter>

namespace kova {

HiddenTextStatic::HiddenTextStatic(QWidget* parent) : QWidget(parent) {}

QString HiddenTextStatic::text() const { return showText_ ? caption_ : QString(); }

void HiddenTextStatic::setText(const QString& text)
{
    caption_ = text;
    update();
}

QSize HiddenTextStatic::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(caption_), metrics.height());
}

void HiddenTextStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    // Left-aligned and centred vertically, as a label with a centred image.
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
}

} // namespace kova
