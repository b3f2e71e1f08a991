#pragma once
// The owner-draw record our drawn controls paint from: the rectangle of the
// item and its state flags, with the values the station's drawing code was
// written against; and the COLORREF colours (0x00BBGGRR) the drawings name.

#include <QAbstractButton>
#include <QColor>
#include <QRect>

#include <cstdint>

namespace kova {

enum OwnerDrawState : unsigned {
    ODS_SELECTED = 0x0001,
    ODS_GRAYED = 0x0002,
    ODS_DISABLED = 0x0004,
    ODS_CHECKED = 0x0008,
    ODS_FOCUS = 0x0010,
};

struct DrawItemStruct {
    QRect rcItem;
    unsigned itemState = 0;
};

// The record a drawn button paints itself from: its whole area, and pressed,
// focused and disabled as it is now.
inline DrawItemStruct drawItemOf(const QAbstractButton& button)
{
    DrawItemStruct item;
    item.rcItem = button.rect();
    if (button.isDown() || button.isChecked())
        item.itemState |= ODS_SELECTED;
    if (button.hasFocus())
        item.itemState |= ODS_FOCUS;
    if (!button.isEnabled())
        item.itemState |= ODS_DISABLED;
    return item;
}

using COLORREF = std::uint32_t;

inline QColor colorFromRef(COLORREF colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

inline COLORREF refFromColor(const QColor& colour)
{
    return static_cast<COLORREF>(colour.red()) | (static_cast<COLORREF>(colour.green()) << 8) |
           (static_cast<COLORREF>(colour.blue()) << 16);
}

} // namespace kova
