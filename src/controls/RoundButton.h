#pragma once
// The owner-drawn rounded push button of most dialogs: a raised face, light in
// its upper half and face-coloured below, light blue when it has the focus.

#include "controls/OwnerDraw.h"

#include <QPushButton>

namespace kova {

class RoundButton : public QPushButton {
    Q_OBJECT
public:
    explicit RoundButton(QWidget* parent = nullptr);
    RoundButton(const QString& text, QWidget* parent);

    // Takes the place of the dialog's button of that id; null when there is none.
    static RoundButton* attach(QWidget* parentDialog, int controlId);

    // Paints the button for the item's state into the painter.
    void DrawItem(QPainter& painter, const DrawItemStruct& item) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kova
