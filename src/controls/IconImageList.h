#pragma once
// The station's 97 event icons in one of three sizes, cut from the icon strip
// bitmaps (16, 24 or 32 pixels wide per icon), with the strip's mask colour
// shown transparent; fills icon lists and shows an icon in a picture control.

#include <QImage>
#include <QPixmap>

#include <vector>

class QAbstractItemView;
class QLabel;

namespace kova {

class IconImageList {
public:
    static constexpr int ICON_COUNT = 97;
    // COLORREF 0x030215: strip pixels of this colour are transparent.
    static const QRgb MASK_COLOUR;

    // Size index 0: 16 pixels from bitmap 280; 1: 24 pixels from 279; 2: 32
    // pixels from 278. Any other index is taken as 0.
    explicit IconImageList(int sizeIndex);
    virtual ~IconImageList();

    int sizeIndex() const { return sizeIndex_; }
    int bitmapId() const;
    // The width of one icon, and the height of the strip.
    int imageWidth() const;
    int imageHeight() const { return height_; }
    // The number of icons loaded: 97, or 0 when the strip could not be loaded.
    int count() const { return static_cast<int>(icons_.size()); }

    // Icon i as cut from the strip (mask colour kept), and as shown (mask
    // colour transparent). Empty for an index outside the list.
    QImage image(int index) const;
    QPixmap pixmap(int index) const;

    // Makes the list the view's small icons: 20 x 20 spacing, the first column
    // narrow, and a silver background behind icons and text.
    void attachToListCtrl(QAbstractItemView* list) const;
    // Empties the view and inserts 97 items without text, item i showing icon i.
    void fillListCtrl(QAbstractItemView* list) const;
    // Shows icon `index` in the picture control.
    void setStaticIcon(QLabel* picture, int index) const;

private:
    int sizeIndex_;
    int height_ = 0;
    std::vector<QImage> icons_;
};

} // namespace kova
