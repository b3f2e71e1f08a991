#pragma once
// The flat, self-drawn tab strip of the folder dialog: it fits its tabs into
// its width, selects them by mouse and keyboard, and reports each selection
// to its listener, which may veto a change before it happens.

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class TabStrip;

// The tab notifications, with the codes the dialogs have always used.
enum class TabNotification { SelChanging = -552, SelChange = -551, KeyDown = -550, Click = -2 };

class TabStripListener {
public:
    virtual ~TabStripListener() = default;
    // A non-zero answer to SelChanging vetoes the change; `key` is set for KeyDown.
    virtual int tabNotify(TabStrip& strip, TabNotification code, int key) = 0;
};

class TabStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int STYLE_TOP = 1;
    static constexpr int INNER_MARGIN = 3;

    struct TabItem {
        std::string text;
        int data = 0;
        int width = 0;
        int x = 0;
    };

    // Style bit 0: tabs along the top edge; without it, along the bottom.
    explicit TabStrip(QWidget* parent = nullptr, int style = STYLE_TOP);

    void setListener(TabStripListener* listener) { listener_ = listener; }

    const TabItem* getItem(int index) const;
    int getTabHeight() const { return (style_ & STYLE_TOP) ? 22 : 24; }
    int getStyle() const { return style_; }
    int getCurSel() const { return curSel_; }
    int getItemCount() const { return static_cast<int>(items_.size()); }
    int getItemData(int index) const;
    // The tab's width and height; for any other index the sum of all widths.
    QSize getItemSize(int index) const;
    bool removeItem(int index);
    const TabItem& addItem(const std::string& text, int data);
    QRect getContentRect() const;
    QRect getItemRect(int index) const;
    int hitTest(int x, int y) const;
    // Shrinks or widens the tabs so that `needed` pixels fit into `available`.
    void fitItems(int needed, int available);
    void layoutItems();
    // Selects a tab after asking the listener; false when vetoed or out of range.
    bool select(int index);

protected:
    virtual void onSelChanged(int, int) {}
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    int notify(TabNotification code, int key = 0);
    bool runKeyCommand(QKeyEvent* event);
    void placeFrom(int x);
    int measure(const TabItem& item) const;
    void drawTab(QPainter& painter, int index) const;

    std::vector<TabItem> items_;
    int style_;
    int curSel_ = -1;
    TabStripListener* listener_ = nullptr;
};
