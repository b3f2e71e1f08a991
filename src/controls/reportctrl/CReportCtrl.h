#pragma once
// The station's multi-column report list: column definitions (subitems) of
// which some are shown as header columns, rows of cells with texts, colours,
// check states, images and bar gauges, selection and cell focus, sorting,
// scrolling, keys and the wheel, in-place editing and owner data. It tells its
// parent what happens through reportNotify, with the codes of ReportTypes.h.

#include "controls/OwnerDraw.h"
#include "controls/reportctrl/ReportCellCodec.h"
#include "controls/reportctrl/ReportTypes.h"

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QPixmap>
#include <QPointer>
#include <QVariant>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <memory>
#include <vector>

class QListWidget;
class QScrollBar;

namespace kova {

class BarGaugeWnd;
class CFlatHeaderCtrl;
class CReportTipCtrl;
class IconImageList;

class CReportCtrl : public QFrame {
    Q_OBJECT
public:
    using CompareFunction = std::function<int(int subItem, int itemA, int itemB)>;

    // One row as the control keeps it.
    struct ItemRecord {
        std::string rowText;
        int bkColor = -1;
        unsigned state = 0;
        int extraHeight = 0;
        std::intptr_t data = 0;
        // Bar cells by subitem: the gauge paints the cell instead of its text.
        std::map<int, std::shared_ptr<BarGaugeWnd>> bars;
    };

    // `style` holds the control's style bits in its low word and WS_BORDER for the sunken edge.
    explicit CReportCtrl(QWidget* parent = nullptr, std::uint32_t style = 0, int id = 0);
    ~CReportCtrl() override;

    // Lets dialog templates place the control by its window class "MFCReportCtrl".
    static void registerWindowClass();

    CFlatHeaderCtrl& getHeaderCtrl() { return *header_; }
    CReportTipCtrl& getTipCtrl() { return *tip_; }

    // Options and style.
    // Options 1-8: numbers, except the texts of 3 and 5 and the separator
    // character of 8 (a text's first character or a number).
    bool setOption(int option, const QVariant& value);
    void modifyStyle(std::uint32_t remove, std::uint32_t add);
    std::uint32_t getStyle() const { return style_; }
    void setRowHeight(int pixels);
    int getRowHeight() const { return rowHeight_; }
    int getCellMargin() const { return margin_; }

    // Subitems.
    int defineSubItem(int subItem, const ReportSubItem& definition, bool refreshChooser = true);
    bool setSubItem(int subItem, const ReportSubItem& definition, bool refresh = true);
    bool getSubItem(int subItem, ReportSubItem& definition) const;
    int getSubItemCount() const { return static_cast<int>(subItems_.size()); }
    int getSubItemWidth(int subItem) const;
    int activateSubItem(int subItem, int order = -1);
    bool deactivateSubItem(int subItem);
    void deactivateAllSubItems();
    bool isSubItemActive(int subItem) const { return getColumnFromSubItem(subItem) >= 0; }
    int getActiveSubItemCount() const;
    int getSubItemFromColumn(int column) const;
    int getColumnFromSubItem(int subItem) const;
    bool setSubItemWidth(int subItem, int width);
    void autoSizeColumn(int subItem);
    void autoSizeAllColumns();
    int getTotalWidth() const { return totalWidth_; }

    // Items.
    int insertItem(const ReportItem& item);
    bool setItem(const ReportItem& item);
    bool getItem(ReportItem& item);
    std::string getItemText(int item, int subItem);
    bool setItemText(int item, int subItem, const std::string& text);
    int getItemImage(int item, int subItem);
    bool setItemImage(int item, int subItem, int image);
    int getItemCheck(int item, int subItem);
    bool setItemCheck(int item, int subItem, int check);
    std::intptr_t getItemData(int item);
    bool setItemData(int item, std::intptr_t data);
    // Makes the cell a bar cell drawn by the gauge; null turns it back into a text cell.
    bool setItemBar(int item, int subItem, std::shared_ptr<BarGaugeWnd> gauge);
    std::shared_ptr<BarGaugeWnd> getItemBar(int item, int subItem) const;
    bool deleteItem(int item);
    bool deleteAllItems();
    int getItemCount() const;
    bool setItemCount(int count);
    int getFirstSelectedItem() const { return getNextSelectedItem(-1); }
    int getNextSelectedItem(int after) const;
    bool setFocusCell(int position, int column);
    int getFocusedRow() const { return focusRow_; }
    int getFocusedColumn() const { return focusColumn_; }
    int findItem(const ReportItem& criteria, unsigned flags, int start = -1);
    int getPositionOfItem(int item);
    int getItemAtPosition(int position) const;
    bool moveRowUp(int position);
    bool moveRowDown(int position);
    bool setRowOrder(const std::vector<int>& order);

    // Colours, images, compare function, field chooser, profile.
    int insertColor(int index, COLORREF colour);
    bool deleteColor(int index);
    int getColorCount() const { return static_cast<int>(colours_.size()); }
    bool setImageList(const IconImageList* list);
    bool setBackgroundImage(const QString& file);
    void setCompareFunction(CompareFunction function) { compare_ = std::move(function); }
    const CompareFunction& getCompareFunction() const { return compare_; }
    void setFieldChooser(QListWidget* chooser);
    QListWidget* getFieldChooser() const { return chooser_; }
    // "(defined,active)" then each definition's width and each active column's subitem.
    std::string profileText() const;
    bool saveProfile(const std::string& section, const std::string& entry) const;

    // Selection and sorting.
    void selectRange(int first, int last, bool select, bool keepOthers, bool toggle, bool notify = true);
    virtual int compareItems(int subItem, int itemA, int itemB);
    static int compareCells(const ReportItem& cellA, const ReportItem& cellB);
    bool sortByColumn(int subItem, bool ascending);
    bool resort();
    bool sortItems(bool ascending);
    int getFirstVisibleRow() const { return firstRow_; }
    void ensureVisible(int position);

    // Editing.
    virtual bool beginEdit(int position, int column, int character);
    virtual void endEdit(bool apply, const ReportNotify* record = nullptr);
    QWidget* editor() const { return editor_; }

    // Scrolling, as the scroll bars and the wheel request it.
    void onVScroll(int code, int position = 0);
    void onHScroll(int code, int position = 0);
    int getHorizontalScroll() const { return hScroll_; }
    // Handles a key as WM_KEYDOWN does; `flags` are carried to the parent unchanged.
    void onKeyDown(int key, unsigned flags, Qt::KeyboardModifiers modifiers);
    void onChar(int character);
    void onMouseWheel(int delta);

    // With the flag set, the vertical grid lines stop above the last row and
    // its extra area, which its parent draws across the columns.
    void setLastRowFlag(bool flag);
    bool getLastRowFlag() const { return lastRowFlag_; }

    // The parent's gate: sends the record when its code is enabled and there is a parent.
    virtual long notify(ReportNotify& record);
    virtual void setDefaultColors();
    virtual int getWheelScrollLines() const;
    // The desktop settings changed: the wheel scroll lines are read again.
    void onSettingChange() { wheelLines_ = getWheelScrollLines(); }

    // The rectangle of a cell in control coordinates (text area without margins when `inner`).
    QRect getCellRect(int position, int column, bool inner = false);
    // The cell under a point, or false.
    bool hitTestCell(const QPoint& point, int& position, int& column);
    QRect itemArea() const { return itemArea_; }

signals:
    void reportNotify(kova::ReportNotify* record);

protected:
    struct CellDraw {
        ReportItem cell;
        QColor text;
        QColor back;
        unsigned format = 0;
        BarGaugeWnd* bar = nullptr;
    };

    ItemRecord* getItemRecord(int item, int subItem = -1, unsigned mask = 0);
    bool storeItemRecord(int item, const ItemRecord& record);
    void requestItemData(int item, int subItem, unsigned mask);
    ItemRecord* findCachedItem(int item);
    ItemRecord* allocCachedItem(int item);
    void invalidateCachedItem(int item);

    virtual int drawSubItem(QPainter& painter, const QRect& rect, const CellDraw& cell);
    virtual void drawBackground(QPainter& painter, const QRect& rect, const QColor& colour);
    virtual void drawItem(QPainter& painter, const QRect& rect, const QRect& clip, int position, bool odd);
    virtual int drawImage(QPainter& painter, const QRect& rect, const CellDraw& cell);
    virtual int drawCheck(QPainter& painter, const QRect& rect, const CellDraw& cell);
    virtual int drawText(QPainter& painter, const QRect& rect, const CellDraw& cell);
    virtual void sortRange(int subItem, int first, int last, bool ascending);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layout();
    void updateScrollBars();
    int rowsFitting(int from);
    int lastFirstRow();
    int rowHeightAt(int position);
    int rowTop(int position);
    void onHeaderItemChanged(int index, unsigned changes);
    void onDividerDoubleClicked(int index);
    void recomputeTotalWidth();
    const QFont& rowFont(unsigned state) const { return (state & RVIS_BOLD) ? boldFont_ : font_; }
    void setFontAndMetrics(const QFont& font);
    void rebuildIndex();
    bool ownerData() const { return style_ & RVS_OWNERDATA; }
    bool sendEnabled(int code) const;
    long notifyItem(int code, int item, int subItem, unsigned newState, std::intptr_t data);
    void setSelection(int position, bool selected, bool notify);
    void focusRowAt(int position);
    QColor colourAt(int index, const QColor& fallback) const;
    int columnLeft(int column) const;
    int nextColumn(int column, int step) const;
    void redrawRow(int position);
    void closeEditorKeepingText();
    void editorFinished();
    bool readCell(int item, int subItem, ReportCell& cell);
    void refreshChooser();
    void navigateRows(int target, Qt::KeyboardModifiers modifiers);

    std::uint32_t style_;
    std::vector<ReportSubItem> subItems_;
    std::vector<ItemRecord> items_;
    std::vector<int> order_;
    std::vector<int> positions_;
    bool indexDirty_ = true;
    std::vector<COLORREF> colours_;
    std::array<QColor, 12> system_;
    int margin_ = 6;
    int wheelLines_ = 3;
    QFont font_;
    QFont boldFont_;
    int checkWidth_ = 8;
    int checkHeight_ = 8;
    const IconImageList* images_ = nullptr;
    int imageWidth_ = 0;
    QPixmap background_;
    QString noItemsText_;
    std::string tooltipFormat_ = "Sort by: %s";
    Qt::PenStyle gridStyle_ = Qt::SolidLine;
    bool lastRowFlag_ = false;
    // Exact widths of cell texts already measured for autoSizeColumn, by
    // font ('b' bold, 'p' plain) and text; emptied when the font changes.
    std::unordered_map<std::string, int> textWidths_;
    int rowHeight_ = 0;
    int totalWidth_ = 0;
    int ownerCount_ = 0;
    int focusRow_ = -1;
    int focusColumn_ = -1;
    int anchorRow_ = 0;
    bool hasFocus_ = false;
    bool ctrlUp_ = true;
    int firstRow_ = 0;
    int hScroll_ = 0;
    CompareFunction compare_;
    unsigned enableMask_ = 0xFFFFFFFFu;
    bool caching_ = true;
    std::array<ItemRecord, 128> cache_;
    std::array<int, 128> cacheHandles_;
    std::array<std::vector<bool>, 128> cacheFilled_;
    std::vector<int> selected_;
    ItemRecord scratch_;
    QListWidget* chooser_ = nullptr;

    CFlatHeaderCtrl* header_;
    std::unique_ptr<CReportTipCtrl> tip_;
    QScrollBar* vBar_;
    QScrollBar* hBar_;
    QRect headerArea_;
    QRect entryArea_;
    QRect itemArea_;
    bool inLayout_ = false;

    QPointer<QWidget> editor_;
    bool ownEditor_ = false;
    int editItem_ = -1;
    int editSubItem_ = -1;
    int editKey_ = 0;
    bool editEnding_ = false;
};

} // namespace kova
