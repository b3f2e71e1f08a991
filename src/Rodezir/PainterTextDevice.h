#pragma once
// The text device of TextLines over a Qt font: measures with its metrics and
// draws with a painter when one is given. Texts are drawn with their top at
// the point asked, as the dialog manager's text output places them.

#include "Rodezir/TextDevice.h"

#include <QFont>
#include <QFontMetrics>

class QPainter;
class QPaintDevice;

namespace kova {

class PainterTextDevice final : public TextDevice {
public:
    // Measures in `font` on `device` (the screen when null); draws nowhere.
    explicit PainterTextDevice(const QFont& font, QPaintDevice* device = nullptr);
    // Measures in the painter's font and draws with the painter.
    explicit PainterTextDevice(QPainter& painter);

    int textHeight() const override;
    SIZE textExtent(const std::wstring& text) const override;
    void drawText(int x, int y, const std::wstring& text) override;

private:
    QFontMetrics metrics_;
    QPainter* painter_ = nullptr;
};

} // namespace kova
