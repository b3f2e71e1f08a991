#include "Rodezir/PainterTextDevice.h"

#include <QPainter>

namespace kova {

PainterTextDevice::PainterTextDevice(const QFont& font, QPaintDevice* device)
    : metrics_(device ? QFontMetrics(font, device) : QFontMetrics(font))
{
}

PainterTextDevice::PainterTextDevice(QPainter& painter) : metrics_(painter.fontMetrics()), painter_(&painter) {}

int PainterTextDevice::textHeight() const
{
    return metrics_.height();
}

SIZE PainterTextDevice::textExtent(const std::wstring& text) const
{
    return {metrics_.horizontalAdvance(QString::fromStdWString(text)), metrics_.height()};
}

void PainterTextDevice::drawText(int x, int y, const std::wstring& text)
{
    if (painter_)
        painter_->drawText(x, y + metrics_.ascent(), QString::fromStdWString(text));
}

} // namespace kova
