#pragma once
// A push button that shows one of five bitmaps by its state (normal, pressed,
// focused, pressed with focus, disabled), the pressed and focused pictures
// colour-mapped to the light-blue face and the system's face colour. Its
// caption is not drawn on it: createLabel shows it in a label beside it.

#include "controls/HiddenTextStatic.h"
#include "controls/OwnerDraw.h"

#include <QAbstractButton>
#include <QImage>
#include <QPointer>

#include <array>

namespace kova {

class MapBitmapButton : public QAbstractButton {
    Q_OBJECT
public:
    enum Picture { NORMAL = 0, SELECTED, FOCUS, SELECTED_FOCUS, DISABLED, PICTURE_COUNT };

    explicit MapBitmapButton(QWidget* parent = nullptr);
    ~MapBitmapButton() override;

    // Loads the pictures by bitmap resource id (0 = none). True when every
    // requested one loaded; false at once when the normal one does not.
    bool loadBitmaps(int normalId, int selectedId = 0, int focusId = 0, int disabledId = 0,
                     int selectedFocusId = 0);
    // Takes the place of the dialog's button of that id, loads the pictures
    // and sizes itself to the normal one. False when there is no such button
    // or the normal picture is missing.
    bool autoLoad(int controlId, QWidget* parentDialog, int normalId, int selectedId = 0, int focusId = 0,
                  int disabledId = 0, int selectedFocusId = 0);

    // Paints the picture of the item's state into the item rectangle.
    void DrawItem(QPainter& painter, const DrawItemStruct& item) const;
    // The picture DrawItem shows for that state (a null image when the normal one is missing).
    const QImage& pictureFor(unsigned itemState) const;
    const QImage& picture(Picture which) const { return bitmaps_[which]; }

    // Shows the button's text in a label with that id beside the button.
    void createLabel(int labelId);
    HiddenTextStatic* label() const { return label_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QImage, PICTURE_COUNT> bitmaps_;
    QPointer<HiddenTextStatic> label_;
};

// The colour map of the pressed and focused pictures: pure yellow and cyan
// become the two light blues, silver the given face colour.
QImage mapButtonColours(const QImage& image, const QColor& face);

} // namespace kova
