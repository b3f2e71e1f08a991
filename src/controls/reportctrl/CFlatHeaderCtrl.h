#pragma once
// The flat column header of the report control: items with width, caption
// and alignment shown in their display order, a sort mark, dividers whose drag
// stays within each item's minimum and maximum width (or not at all for
// fixed-width items), item tooltips and the drop marker over a divider.

#include "controls/reportctrl/FlatHeaderDropWnd.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

namespace kova {

// Item flags, the byte a report subitem's format carries in its bits 16-23.
enum FlatHeaderFlags : unsigned {
    FH_AUTOWIDTH = 0x01,
    FH_NOSIZEHINT = 0x02,
    FH_FIXEDWIDTH = 0x04,
    FH_TOOLTIP = 0x08,
    FH_PERSISTENT = 0x10,
};

// Hit-test results.
enum FlatHeaderHit : unsigned {
    HHT_NOWHERE = 0x01,
    HHT_ONHEADER = 0x02,
    HHT_ONDIVIDER = 0x04,
};

// Which fields of an item a change touched.
enum FlatHeaderChange : unsigned {
    HDI_WIDTH = 0x01,
    HDI_FORMAT = 0x04,
};

struct FlatHeaderItem {
    int width = 0;
    unsigned format = 0; // alignment in the low two bits (0 left, 1 right, 2 centre)
    QString caption;
    int image = -1;
    int lParam = 0;
};

struct FlatHeaderItemInfo {
    unsigned flags = 0;
    int minWidth = 0;
    int maxWidth = -1;
    QString tooltip;
};

class CFlatHeaderCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CFlatHeaderCtrl(QWidget* parent = nullptr);
    ~CFlatHeaderCtrl() override;

    // Inserts at the lesser of `index` and the count, shown at display order
    // `order` (-1: last); returns the index.
    int insertItem(int index, const FlatHeaderItem& item, int order = -1);
    bool deleteItem(int index);
    int getItemCount() const { return static_cast<int>(items_.size()); }
    bool getItem(int index, FlatHeaderItem& item) const;
    // Replaces the item; a changed width or format is reported with itemChanged.
    bool setItem(int index, const FlatHeaderItem& item);
    int orderToIndex(int order) const;
    int indexToOrder(int index) const;
    QRect getItemRect(int index) const;
    // The item under the point (header coordinates), or -1, with HHT_ flags.
    int hitTest(const QPoint& point, unsigned* flags = nullptr) const;

    bool setItemInfo(int index, const FlatHeaderItemInfo& info);
    bool getItemInfo(int index, FlatHeaderItemInfo& info) const;
    void setSortColumn(int index, bool ascending);
    int getSortColumn(bool* ascending = nullptr) const;
    // 1 item margin; 2 sort mark size (width low word, height high word);
    // 3, 4, 5 the highlight, shadow and text colours (COLORREF); 6 the font (QFont).
    bool setOption(int option, const QVariant& value);
    void setHeight(int pixels);
    int getHeight() const;
    // The height the header needs for its font, or the fixed one.
    int layoutHeight() const;
    void setImageSize(int width, int height);
    // Scrolls the items left by `offset` pixels.
    void setOffset(int offset);
    int offset() const { return offset_; }

    // Shows the drop marker at the order after the item under `point` when the
    // point is right of its centre, else at its order; returns the drop order.
    int setHotDivider(const QPoint& point);
    int setHotDivider(int order);
    int dropPosition() const { return dropPosition_; }
    bool dropMarkerVisible() const { return dropWnd_ != nullptr; }
    void setDropMarkerColour(const QColor& colour) { dropColour_ = colour; }

    // Shows item `index` at the drop order (the order before which it lands);
    // false when that leaves it where it is.
    bool moveItem(int index, int dropOrder);

    // The width the item's content needs: image, caption and sort mark with margins.
    int contentWidth(int index) const;

signals:
    void itemChanged(int index, unsigned changes);
    void itemClicked(int index);
    void dividerDoubleClicked(int index);
    // The display order of the items changed.
    void orderChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Entry {
        FlatHeaderItem item;
        FlatHeaderItemInfo info;
    };

    bool mayResize(int index) const;
    void applyWidth(int index, int width);
    int clampedDragWidth(int index, int width) const;
    void updateCursor(const QPoint& point);
    void paintItem(QPainter& painter, int index, const QRect& rect) const;
    void paintSortMark(QPainter& painter, const QRect& rect) const;
    void setSystemColours();

    std::vector<Entry> items_;
    std::vector<int> order_; // item indexes in display order
    int margin_ = 6;
    int sortMarkWidth_ = 8;
    int sortMarkHeight_ = 8;
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    int fixedHeight_ = 0;
    int offset_ = 0;
    QColor highlight_, shadow_, face_, text_;
    int pressedItem_ = -1;
    QPoint pressPoint_;
    bool movingItem_ = false;
    int dragItem_ = -1;
    int dragStartX_ = 0;
    int dragStartWidth_ = 0;
    bool confined_ = false;
    int dropPosition_ = -1;
    QColor dropColour_ = QColor(255, 0, 0);
    std::unique_ptr<FlatHeaderDropWnd> dropWnd_;
};

} // namespace kova
