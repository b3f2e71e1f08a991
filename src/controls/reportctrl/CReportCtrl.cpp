#include "controls/reportctrl/CReportCtrl.h"

#include "controls/BarGaugeWnd.h"
#include "controls/IconImageList.h"
#include "controls/reportctrl/CFlatHeaderCtrl.h"
#include "controls/reportctrl/CReportTipCtrl.h"
#include "gettext/Gettext.h"
#include "Rodezir/ControlNotifier.h"
#include "Rodezir/DialogBuilder.h"
#include "Rodezir/DialogItem.h"
#include "Rodezir/RegistryKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>

namespace kova {
namespace {

constexpr int DEFAULT_WIDTH = 200;
constexpr int WHEEL_DELTA = 120;
constexpr int DLG_FRAME = 3; // SM_CYDLGFRAME
constexpr int EDIT_TEXT_LIMIT = 255;
constexpr int NOTIFY_BASE = -2048;

enum SystemColour {
    EMPTY_BACK,
    BACK,
    SELECTED_BACK,
    SELECTED_BACK_NO_FOCUS,
    TEXT,
    SELECTED_TEXT,
    SELECTED_TEXT_NO_FOCUS,
    GRID,
    ENTRY_ROW,
    ENTRY_SHADOW,
    ENTRY_HIGHLIGHT,
    ENTRY_DARK_SHADOW,
};

struct KeyMap {
    int qtKey;
    int vk;
};
const KeyMap KEYS[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},
};

int virtualKey(int qtKey)
{
    for (const KeyMap& k : KEYS)
        if (k.qtKey == qtKey)
            return k.vk;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    return 0;
}

int sign(int value) { return (value > 0) - (value < 0); }

// The description that reads or writes one field of one cell or row.
ReportItem describe(int item, int subItem, unsigned mask)
{
    ReportItem description;
    description.mask = mask;
    description.item = item;
    description.subItem = subItem;
    return description;
}

QString qtext(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string narrow(const QString& text) { return text.toUtf8().toStdString(); }

// Keeps at most `room` bytes without splitting a character.
std::string cutUtf8(std::string text, std::size_t room)
{
    if (text.size() <= room)
        return text;
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
    return text;
}

// "Sort by: %s" with the caption in place of %s; the format comes from the
// caller, so it is never handed to a printf.
std::string formatTooltip(const std::string& format, const std::string& caption)
{
    std::string result = format;
    const auto at = result.find("%s");
    if (at != std::string::npos)
        result.replace(at, 2, caption);
    return result;
}

} // namespace

CReportCtrl::CReportCtrl(QWidget* parent, std::uint32_t style, int id)
    : QFrame(parent), style_(style), header_(new CFlatHeaderCtrl(this)), vBar_(new QScrollBar(Qt::Vertical, this)),
      hBar_(new QScrollBar(Qt::Horizontal, this))
{
    registerWindowClass();
    if (id)
        setControlId(this, id);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameStyle((style_ & WS_BORDER) ? (QFrame::WinPanel | QFrame::Sunken) : QFrame::NoFrame);
    setMouseTracking(style_ & RVS_SHOWTIPS);
    cacheHandles_.fill(-2);
    noItemsText_ = QString::fromStdWString(Gettext::translate("There are no items to show in this view."));
    tooltipFormat_ = narrow(QString::fromStdWString(Gettext::translate("Sort by: %s")));
    tip_ = std::make_unique<CReportTipCtrl>(this, margin_);
    vBar_->hide();
    hBar_->hide();
    connect(vBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!inLayout_)
            onVScroll(SB_THUMBTRACK, value);
    });
    connect(hBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!inLayout_)
            onHScroll(SB_THUMBTRACK, value);
    });
    connect(header_, &CFlatHeaderCtrl::itemChanged, this, &CReportCtrl::onHeaderItemChanged);
    connect(header_, &CFlatHeaderCtrl::dividerDoubleClicked, this, &CReportCtrl::onDividerDoubleClicked);
    connect(header_, &CFlatHeaderCtrl::orderChanged, this, [this] {
        closeEditorKeepingText();
        update();
    });
    setFontAndMetrics(parent ? parent->font() : QApplication::font());
    wheelLines_ = getWheelScrollLines();
    setDefaultColors();
    layout();
}

CReportCtrl::~CReportCtrl()
{
    // The parent may already be half destroyed here, so the rows go without
    // deletion notices; their data belongs to whoever set it.
    if (editor_ && !ownEditor_)
        editor_->removeEventFilter(this);
}

void CReportCtrl::registerWindowClass()
{
    static const bool registered = [] {
        DialogBuilder::registerWindowClass(L"MFCReportCtrl", [](QWidget* parent, const DialogControlTable& control) {
            return static_cast<QWidget*>(new CReportCtrl(parent, control.style, control.id));
        });
        return true;
    }();
    (void)registered;
}

// ---- options and style ----------------------------------------------------

bool CReportCtrl::setOption(int option, const QVariant& value)
{
    switch (option) {
    case RVOP_CELLMARGIN:
        margin_ = value.toInt();
        tip_->setCellMargin(margin_);
        break;
    case RVOP_CHECKSIZE:
        checkWidth_ = static_cast<int>(value.toUInt() & 0xFFFF);
        checkHeight_ = static_cast<int>((value.toUInt() >> 16) & 0xFFFF);
        break;
    case RVOP_NOITEMTEXT:
        noItemsText_ = value.toString();
        break;
    case RVOP_GRIDSTYLE: {
        static const Qt::PenStyle styles[] = {Qt::DotLine, Qt::DashLine, Qt::SolidLine};
        const int index = value.toInt();
        if (index < 0 || index > 2)
            return false;
        gridStyle_ = styles[index];
        break;
    }
    case RVOP_TOOLTIPFORMAT:
        tooltipFormat_ = narrow(value.toString());
        break;
    case RVOP_ENABLEMASK:
        enableMask_ = value.toUInt();
        break;
    case RVOP_CACHING:
        caching_ = value.toInt() != 0;
        invalidateCachedItem(-2);
        break;
    case RVOP_SEPARATOR: {
        const QString text = value.toString();
        const bool isNumber = value.typeId() == QMetaType::Int || value.typeId() == QMetaType::UInt ||
                              value.typeId() == QMetaType::Char;
        const int code = isNumber ? value.toInt() : (text.isEmpty() ? 0 : text.at(0).unicode());
        // The separator is one byte of the row text, and neither a digit nor
        // part of the "(...)" that opens a cell.
        if (code <= 0 || code > 0x7F || std::strchr("()-,0123456789", code))
            return false;
        ReportCellCodec::setSeparator(static_cast<char>(code));
        break;
    }
    default:
        return false;
    }
    layout();
    update();
    return true;
}

void CReportCtrl::modifyStyle(std::uint32_t remove, std::uint32_t add)
{
    closeEditorKeepingText();
    const std::uint32_t old = style_;
    style_ = (style_ & ~remove) | add;
    if (!(old & RVS_SHOWHGRID) && (style_ & RVS_SHOWHGRID))
        ++rowHeight_;
    else if ((old & RVS_SHOWHGRID) && !(style_ & RVS_SHOWHGRID))
        --rowHeight_;
    setFrameStyle((style_ & WS_BORDER) ? (QFrame::WinPanel | QFrame::Sunken) : QFrame::NoFrame);
    setMouseTracking(style_ & RVS_SHOWTIPS);
    invalidateCachedItem(-2);
    layout();
    update();
}

void CReportCtrl::setRowHeight(int pixels)
{
    rowHeight_ = std::max(1, pixels);
    layout();
    update();
}

void CReportCtrl::setFontAndMetrics(const QFont& font)
{
    font_ = font;
    boldFont_ = font;
    boldFont_.setWeight(QFont::Bold);
    const QFontMetrics metrics(font_);
    rowHeight_ = metrics.height() + metrics.leading() + 8 + ((style_ & RVS_SHOWHGRID) ? 1 : 0);
    checkWidth_ = checkHeight_ = rowHeight_ - 2;
    header_->setFont(font_);
}

void CReportCtrl::setDefaultColors()
{
    const QPalette pal = QApplication::palette();
    system_ = {pal.color(QPalette::Button),   pal.color(QPalette::Base),   pal.color(QPalette::Highlight),
               pal.color(QPalette::Button),   pal.color(QPalette::Text),   pal.color(QPalette::HighlightedText),
               pal.color(QPalette::Text),     pal.color(QPalette::Button), pal.color(QPalette::Button),
               pal.color(QPalette::Mid),      pal.color(QPalette::Light),  pal.color(QPalette::Shadow)};
    update();
}

int CReportCtrl::getWheelScrollLines() const
{
    RegistryKey key;
    std::string text;
    if (!key.open(HKEY_CURRENT_USER, "Control Panel\\Desktop") || !key.getString("WheelScrollLines", text))
        return 3;
    long long lines = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), lines);
    if (error != std::errc() || end == text.data())
        return 3;
    if (lines == -1 || lines == 0xFFFFFFFFLL)
        return WHEEL_PAGESCROLL;
    return static_cast<int>(std::clamp(lines, 0LL, 10000LL));
}

void CReportCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        setFontAndMetrics(font());
        layout();
    } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        setDefaultColors();
    }
    QFrame::changeEvent(event);
}

// ---- subitems --------------------------------------------------------------

int CReportCtrl::defineSubItem(int subItem, const ReportSubItem& definition, bool refreshChooser)
{
    if (subItem < 0)
        return -1;
    ReportSubItem stored = definition;
    if (stored.width < 0)
        stored.width = DEFAULT_WIDTH;
    if (!(stored.format & RVCF_IMAGE))
        stored.image = 0;
    auto insertAt = [this](int at, const ReportSubItem& def) {
        subItems_.insert(subItems_.begin() + at, def);
        for (int i = 0; i < header_->getItemCount(); ++i) {
            FlatHeaderItem item;
            header_->getItem(i, item);
            if (item.lParam >= at) {
                ++item.lParam;
                QSignalBlocker block(header_);
                header_->setItem(i, item);
            }
        }
        auto shift = [at](ItemRecord& record) {
            ReportCellCodec::insertCell(record.rowText, at);
            std::map<int, std::shared_ptr<BarGaugeWnd>> bars;
            for (auto& [sub, gauge] : record.bars)
                bars[sub >= at ? sub + 1 : sub] = gauge;
            record.bars = std::move(bars);
        };
        if (!ownerData())
            for (ItemRecord& record : items_)
                shift(record);
        shift(scratch_);
    };
    ReportSubItem filler;
    filler.width = DEFAULT_WIDTH;
    while (static_cast<int>(subItems_.size()) < subItem)
        insertAt(static_cast<int>(subItems_.size()), filler);
    insertAt(subItem, stored);
    invalidateCachedItem(-2);
    if (refreshChooser)
        this->refreshChooser();
    return subItem;
}

bool CReportCtrl::setSubItem(int subItem, const ReportSubItem& definition, bool refresh)
{
    if (subItem < 0 || subItem >= getSubItemCount())
        return false;
    ReportSubItem stored = definition;
    if (stored.width < 0)
        stored.width = DEFAULT_WIDTH;
    if (!(stored.format & RVCF_IMAGE))
        stored.image = 0;
    subItems_[static_cast<std::size_t>(subItem)] = stored;
    if (isSubItemActive(subItem))
        setSubItemWidth(subItem, stored.width);
    if (refresh)
        refreshChooser();
    return true;
}

bool CReportCtrl::getSubItem(int subItem, ReportSubItem& definition) const
{
    if (subItem < 0 || subItem >= getSubItemCount())
        return false;
    definition = subItems_[static_cast<std::size_t>(subItem)];
    return true;
}

int CReportCtrl::getSubItemWidth(int subItem) const
{
    if (subItem < 0 || subItem >= getSubItemCount())
        return -1;
    return subItems_[static_cast<std::size_t>(subItem)].width;
}

int CReportCtrl::activateSubItem(int subItem, int order)
{
    if (subItem < 0 || subItem >= getSubItemCount() || isSubItemActive(subItem))
        return -1;
    const ReportSubItem& def = subItems_[static_cast<std::size_t>(subItem)];
    FlatHeaderItem item;
    item.width = def.width;
    item.format = def.format & 0xFFFF;
    if (def.format & RVCF_TEXT)
        item.caption = qtext(def.caption);
    item.image = (def.format & RVCF_IMAGE) ? def.image : -1;
    item.lParam = subItem;
    const int count = header_->getItemCount();
    const int at = (order < 0 || order > count) ? count : order;
    int index = 0;
    {
        QSignalBlocker block(header_);
        index = header_->insertItem(at, item, at);
        FlatHeaderItemInfo info;
        info.flags = (def.format >> 16) & 0xFF;
        info.minWidth = def.minWidth;
        info.maxWidth = def.maxWidth;
        if (info.flags & FH_TOOLTIP)
            info.tooltip = qtext(formatTooltip(tooltipFormat_, def.caption));
        header_->setItemInfo(index, info);
    }
    FlatHeaderItem settled;
    header_->getItem(index, settled);
    subItems_[static_cast<std::size_t>(subItem)].width = settled.width;
    if (focusColumn_ >= index)
        ++focusColumn_;
    recomputeTotalWidth();
    layout();
    refreshChooser();
    update();
    return index;
}

bool CReportCtrl::deactivateSubItem(int subItem)
{
    const int column = getColumnFromSubItem(subItem);
    if (column < 0)
        return false;
    closeEditorKeepingText();
    header_->deleteItem(column);
    if (focusColumn_ == column)
        focusColumn_ = -1;
    else if (focusColumn_ > column)
        --focusColumn_;
    recomputeTotalWidth();
    layout();
    refreshChooser();
    update();
    return true;
}

void CReportCtrl::deactivateAllSubItems()
{
    closeEditorKeepingText();
    while (header_->getItemCount() > 0)
        header_->deleteItem(header_->getItemCount() - 1);
    focusColumn_ = -1;
    recomputeTotalWidth();
    layout();
    refreshChooser();
    update();
}

int CReportCtrl::getActiveSubItemCount() const { return header_->getItemCount(); }

int CReportCtrl::getSubItemFromColumn(int column) const
{
    FlatHeaderItem item;
    return header_->getItem(column, item) ? item.lParam : -1;
}

int CReportCtrl::getColumnFromSubItem(int subItem) const
{
    for (int i = 0; i < header_->getItemCount(); ++i)
        if (getSubItemFromColumn(i) == subItem)
            return i;
    return -1;
}

bool CReportCtrl::setSubItemWidth(int subItem, int width)
{
    if (subItem < 0 || subItem >= getSubItemCount())
        return false;
    ReportSubItem& def = subItems_[static_cast<std::size_t>(subItem)];
    if (width < 0)
        width = DEFAULT_WIDTH;
    width = std::max(width, def.minWidth);
    if (def.maxWidth >= 0)
        width = std::min(width, def.maxWidth);
    def.width = width;
    const int column = getColumnFromSubItem(subItem);
    if (column >= 0) {
        FlatHeaderItem item;
        header_->getItem(column, item);
        item.width = width;
        header_->setItem(column, item);
    }
    recomputeTotalWidth();
    layout();
    return true;
}

void CReportCtrl::autoSizeColumn(int subItem)
{
    if (subItem < 0 || subItem >= getSubItemCount())
        return;
    const ReportSubItem& def = subItems_[static_cast<std::size_t>(subItem)];
    int width = header_->fontMetrics().horizontalAdvance(qtext(def.caption)) + 2 * margin_;
    if (!ownerData()) {
        for (const ItemRecord& record : items_) {
            ReportCell cell;
            if (!ReportCellCodec::readCell(record.rowText, subItem, cell, REPORT_TEXT_LIMIT))
                continue;
            int cellWidth = margin_;
            if (cell.image >= 0)
                cellWidth += imageWidth_ + margin_;
            if (cell.check >= 0)
                cellWidth += checkWidth_ + margin_;
            cellWidth += QFontMetrics(rowFont(record.state)).horizontalAdvance(qtext(cell.text)) + margin_;
            width = std::max(width, cellWidth);
        }
    }
    const int column = getColumnFromSubItem(subItem);
    if (column < 0) {
        subItems_[static_cast<std::size_t>(subItem)].width = width;
        return;
    }
    FlatHeaderItem item;
    header_->getItem(column, item);
    item.width = width;
    header_->setItem(column, item);
}

void CReportCtrl::autoSizeAllColumns()
{
    for (int i = 0; i < getSubItemCount(); ++i)
        autoSizeColumn(i);
}

void CReportCtrl::recomputeTotalWidth()
{
    int total = 0;
    for (int i = 0; i < header_->getItemCount(); ++i) {
        FlatHeaderItem item;
        header_->getItem(i, item);
        total += item.width;
    }
    totalWidth_ = total;
}

void CReportCtrl::onHeaderItemChanged(int index, unsigned changes)
{
    closeEditorKeepingText();
    FlatHeaderItem item;
    if (!header_->getItem(index, item) || item.lParam < 0 || item.lParam >= getSubItemCount())
        return;
    ReportSubItem& def = subItems_[static_cast<std::size_t>(item.lParam)];
    if (changes & HDI_FORMAT) {
        // Only the alignment comes from the header; the other format bits stay.
        def.format = (def.format & ~static_cast<std::uint32_t>(RVCF_JUSTIFYMASK)) | (item.format & RVCF_JUSTIFYMASK);
    }
    if (changes & HDI_WIDTH) {
        def.width = item.width;
        recomputeTotalWidth();
        layout();
        notifyItem(RVN_LAYOUTCHANGED, -1, item.lParam, 0, 0);
    }
    update();
}

void CReportCtrl::onDividerDoubleClicked(int index)
{
    closeEditorKeepingText();
    const int subItem = getSubItemFromColumn(index);
    ReportNotify record;
    record.code = RVN_DIVIDERDBLCLICK;
    record.subItem = subItem;
    if (notify(record) != 0)
        return;
    FlatHeaderItemInfo info;
    header_->getItemInfo(index, info);
    if ((info.flags & FH_FIXEDWIDTH) || getItemCount() == 0)
        return;
    autoSizeColumn(subItem);
}

// ---- item records ----------------------------------------------------------

CReportCtrl::ItemRecord* CReportCtrl::getItemRecord(int item, int subItem, unsigned mask)
{
    if (item == -1) {
        if (ReportCellCodec::cellCount(scratch_.rowText) < getSubItemCount())
            scratch_.rowText = ReportCellCodec::emptyRow(getSubItemCount());
        return &scratch_;
    }
    if (!ownerData())
        return (item >= 0 && item < static_cast<int>(items_.size())) ? &items_[static_cast<std::size_t>(item)] : nullptr;
    if (item < 0 || item >= ownerCount_)
        return nullptr;
    ItemRecord* record = caching_ ? findCachedItem(item) : nullptr;
    const std::size_t slot = static_cast<std::size_t>(item % 128);
    const bool cellKnown = subItem < 0 || (subItem < static_cast<int>(cacheFilled_[slot].size()) &&
                                          cacheFilled_[slot][static_cast<std::size_t>(subItem)]);
    if (record && cellKnown)
        return record;
    if (!record)
        record = allocCachedItem(item);
    requestItemData(item, subItem, mask);
    return record;
}

bool CReportCtrl::storeItemRecord(int item, const ItemRecord& record)
{
    if (ownerData())
        return false;
    ItemRecord* target = getItemRecord(item);
    if (!target)
        return false;
    *target = record;
    return true;
}

void CReportCtrl::requestItemData(int item, int subItem, unsigned mask)
{
    ItemRecord* record = findCachedItem(item);
    if (!record)
        return;
    ReportNotify request;
    request.code = RVN_ITEMCALLBACK;
    request.item = item;
    request.subItem = subItem;
    request.displayInfo.item = item;
    request.displayInfo.subItem = subItem;
    request.displayInfo.mask = mask | (subItem >= 0 ? RVIM_TEXT : 0u);
    request.displayInfo.textMax = REPORT_TEXT_LIMIT;
    notify(request);
    const ReportItem& answer = request.displayInfo;
    const std::size_t slot = static_cast<std::size_t>(item % 128);
    if (subItem >= 0 && subItem < getSubItemCount()) {
        ReportCell cell;
        if (answer.mask & RVIM_TEXT)
            cell.text = cutUtf8(answer.text, REPORT_TEXT_LIMIT - 1);
        if (answer.mask & RVIM_TEXTCOLOR)
            cell.colour = answer.textColor;
        if (answer.mask & RVIM_IMAGE)
            cell.image = answer.image;
        if (answer.mask & RVIM_CHECK)
            cell.check = answer.check;
        ReportCellCodec::writeCell(record->rowText, subItem, cell);
        if (subItem < static_cast<int>(cacheFilled_[slot].size()))
            cacheFilled_[slot][static_cast<std::size_t>(subItem)] = true;
    }
    record->bkColor = (answer.mask & RVIM_BKCOLOR) ? answer.bkColor : -1;
    record->extraHeight = (answer.mask & RVIM_ROWHEIGHT) ? answer.rowHeight : 0;
    // The selection lives in the control even when the rows do not.
    const unsigned kept = (std::find(selected_.begin(), selected_.end(), item) != selected_.end() ? RVIS_SELECTED : 0u) |
                          (getItemAtPosition(focusRow_) == item ? RVIS_FOCUSED : 0u);
    record->state = (((answer.mask & RVIM_STATE) ? answer.state : 0u) & ~(RVIS_FOCUSED | RVIS_SELECTED)) | kept;
    if (answer.mask & RVIM_LPARAM)
        record->data = answer.data;
}

CReportCtrl::ItemRecord* CReportCtrl::findCachedItem(int item)
{
    if (item < 0)
        return nullptr;
    const std::size_t slot = static_cast<std::size_t>(item % 128);
    return cacheHandles_[slot] == item ? &cache_[slot] : nullptr;
}

CReportCtrl::ItemRecord* CReportCtrl::allocCachedItem(int item)
{
    const std::size_t slot = static_cast<std::size_t>(item % 128);
    cacheHandles_[slot] = item;
    cache_[slot] = ItemRecord{};
    cache_[slot].rowText = ReportCellCodec::emptyRow(getSubItemCount());
    cacheFilled_[slot].assign(static_cast<std::size_t>(getSubItemCount()), false);
    return &cache_[slot];
}

void CReportCtrl::invalidateCachedItem(int item)
{
    if (item == -2) {
        cacheHandles_.fill(-2);
        return;
    }
    if (item == -1) {
        scratch_ = ItemRecord{};
        return;
    }
    const std::size_t slot = static_cast<std::size_t>(item % 128);
    if (cacheHandles_[slot] == item)
        cacheHandles_[slot] = -2;
}

bool CReportCtrl::readCell(int item, int subItem, ReportCell& cell)
{
    ItemRecord* record = getItemRecord(item, subItem, RVIM_TEXT | RVIM_TEXTCOLOR | RVIM_IMAGE | RVIM_CHECK);
    return record && ReportCellCodec::readCell(record->rowText, subItem, cell, REPORT_TEXT_LIMIT);
}

// ---- items -----------------------------------------------------------------

int CReportCtrl::insertItem(const ReportItem& item)
{
    if (ownerData())
        return -2;
    const int count = static_cast<int>(items_.size());
    const int at = std::clamp(item.item, 0, count);
    ItemRecord record;
    record.rowText = ReportCellCodec::emptyRow(getSubItemCount());
    items_.insert(items_.begin() + at, std::move(record));
    for (int& handle : order_)
        if (handle >= at)
            ++handle;
    for (int& handle : selected_)
        if (handle >= at)
            ++handle;
    if (editor_ && editItem_ >= at)
        ++editItem_;
    order_.insert(order_.begin() + at, at);
    if (focusRow_ >= at)
        ++focusRow_;
    indexDirty_ = true;
    ReportItem description = item;
    description.item = at;
    setItem(description);
    layout();
    return at;
}

bool CReportCtrl::setItem(const ReportItem& item)
{
    if (ownerData())
        return false;
    ItemRecord* record = getItemRecord(item.item);
    if (!record)
        return false;
    const unsigned cellMask = RVIM_TEXT | RVIM_TEXTCOLOR | RVIM_IMAGE | RVIM_CHECK;
    if (item.mask & cellMask) {
        ReportCell cell;
        if (!ReportCellCodec::readCell(record->rowText, item.subItem, cell))
            return false;
        if (item.mask & RVIM_TEXT)
            cell.text = item.text;
        if (item.mask & RVIM_TEXTCOLOR)
            cell.colour = item.textColor;
        if (item.mask & RVIM_IMAGE)
            cell.image = item.image;
        if (item.mask & RVIM_CHECK)
            cell.check = item.check;
        ReportCellCodec::writeCell(record->rowText, item.subItem, cell);
    }
    if (item.mask & RVIM_BKCOLOR)
        record->bkColor = item.bkColor;
    if (item.mask & RVIM_ROWHEIGHT)
        record->extraHeight = std::max(0, item.rowHeight);
    if (item.mask & RVIM_STATE)
        record->state = (item.state & ~(RVIS_FOCUSED | RVIS_SELECTED)) | (record->state & (RVIS_FOCUSED | RVIS_SELECTED));
    if (item.mask & RVIM_LPARAM)
        record->data = item.data;
    if (item.mask & RVIM_ROWHEIGHT)
        layout();
    update();
    return true;
}

bool CReportCtrl::getItem(ReportItem& item)
{
    ItemRecord* record = getItemRecord(item.item, item.subItem, item.mask);
    if (!record)
        return false;
    unsigned valid = RVIM_STATE | RVIM_LPARAM;
    ReportCell cell;
    const std::size_t limit = item.textMax > 0 ? static_cast<std::size_t>(item.textMax) : 0;
    if (ReportCellCodec::readCell(record->rowText, item.subItem, cell, limit)) {
        item.text = cell.text;
        item.textColor = cell.colour;
        item.image = cell.image;
        item.check = cell.check;
        if (!cell.text.empty() && item.textMax > 0)
            valid |= RVIM_TEXT;
        if (cell.colour != -1)
            valid |= RVIM_TEXTCOLOR;
        if (cell.image != -1)
            valid |= RVIM_IMAGE;
        if (cell.check != -1)
            valid |= RVIM_CHECK;
    } else {
        item.text.clear();
        item.textColor = item.image = item.check = -1;
    }
    item.bkColor = record->bkColor;
    item.rowHeight = record->extraHeight;
    item.state = record->state;
    item.data = record->data;
    if (record->bkColor >= 0)
        valid |= RVIM_BKCOLOR;
    if (record->extraHeight != 0)
        valid |= RVIM_ROWHEIGHT;
    item.mask = valid;
    return true;
}

std::string CReportCtrl::getItemText(int item, int subItem)
{
    ReportItem d = describe(item, subItem, RVIM_TEXT);
    return getItem(d) ? d.text : std::string();
}

bool CReportCtrl::setItemText(int item, int subItem, const std::string& text)
{
    ReportItem d = describe(item, subItem, RVIM_TEXT);
    d.text = text;
    return setItem(d);
}

int CReportCtrl::getItemImage(int item, int subItem)
{
    ReportItem d = describe(item, subItem, RVIM_IMAGE);
    return getItem(d) ? d.image : -1;
}

bool CReportCtrl::setItemImage(int item, int subItem, int image)
{
    ReportItem d = describe(item, subItem, RVIM_IMAGE);
    d.image = image;
    return setItem(d);
}

int CReportCtrl::getItemCheck(int item, int subItem)
{
    ReportItem d = describe(item, subItem, RVIM_CHECK);
    return getItem(d) ? d.check : -1;
}

bool CReportCtrl::setItemCheck(int item, int subItem, int check)
{
    ReportItem d = describe(item, subItem, RVIM_CHECK);
    d.check = check;
    return setItem(d);
}

std::intptr_t CReportCtrl::getItemData(int item)
{
    ReportItem d = describe(item, -1, RVIM_LPARAM);
    return getItem(d) ? d.data : 0;
}

bool CReportCtrl::setItemData(int item, std::intptr_t data)
{
    ReportItem d = describe(item, -1, RVIM_LPARAM);
    d.data = data;
    return setItem(d);
}

bool CReportCtrl::setItemBar(int item, int subItem, std::shared_ptr<BarGaugeWnd> gauge)
{
    ItemRecord* record = ownerData() && item != -1 ? nullptr : getItemRecord(item);
    if (!record || subItem < 0 || subItem >= getSubItemCount())
        return false;
    if (gauge)
        record->bars[subItem] = std::move(gauge);
    else
        record->bars.erase(subItem);
    update();
    return true;
}

std::shared_ptr<BarGaugeWnd> CReportCtrl::getItemBar(int item, int subItem) const
{
    const ItemRecord* record = item == -1 ? &scratch_
                               : (!ownerData() && item >= 0 && item < static_cast<int>(items_.size()))
                                   ? &items_[static_cast<std::size_t>(item)]
                                   : nullptr;
    if (!record)
        return nullptr;
    const auto at = record->bars.find(subItem);
    return at == record->bars.end() ? nullptr : at->second;
}

bool CReportCtrl::deleteItem(int item)
{
    if (ownerData() || item < 0 || item >= static_cast<int>(items_.size()))
        return false;
    if (editor_ && editItem_ == item)
        endEdit(false);
    const ItemRecord& record = items_[static_cast<std::size_t>(item)];
    notifyItem(RVN_ITEMDELETED, item, -1, record.state, record.data);
    const int position = getPositionOfItem(item);
    items_.erase(items_.begin() + item);
    if (position >= 0)
        order_.erase(order_.begin() + position);
    for (int& handle : order_)
        if (handle > item)
            --handle;
    selected_.erase(std::remove(selected_.begin(), selected_.end(), item), selected_.end());
    for (int& handle : selected_)
        if (handle > item)
            --handle;
    if (editor_ && editItem_ > item)
        --editItem_;
    indexDirty_ = true;
    const int count = getItemCount();
    if (focusRow_ > position && position >= 0)
        --focusRow_;
    if (focusRow_ >= count)
        focusRow_ = count - 1;
    if (count == 0 && focusRow_ >= 0)
        focusRow_ = -2;
    anchorRow_ = std::min(anchorRow_, std::max(0, count - 1));
    layout();
    update();
    return true;
}

bool CReportCtrl::deleteAllItems()
{
    if (ownerData())
        return false;
    if (editor_ && editItem_ >= 0)
        endEdit(false);
    for (int handle = 0; handle < static_cast<int>(items_.size()); ++handle)
        notifyItem(RVN_ITEMDELETED, handle, -1, items_[static_cast<std::size_t>(handle)].state,
                   items_[static_cast<std::size_t>(handle)].data);
    items_.clear();
    order_.clear();
    selected_.clear();
    indexDirty_ = true;
    focusRow_ = -2;
    anchorRow_ = 0;
    firstRow_ = 0;
    layout();
    update();
    return true;
}

int CReportCtrl::getItemCount() const { return ownerData() ? ownerCount_ : static_cast<int>(items_.size()); }

bool CReportCtrl::setItemCount(int count)
{
    if (!ownerData() || count < 0)
        return false;
    ownerCount_ = count;
    invalidateCachedItem(-2);
    selected_.erase(std::remove_if(selected_.begin(), selected_.end(), [count](int h) { return h >= count; }),
                    selected_.end());
    if (focusRow_ >= count)
        focusRow_ = count > 0 ? count - 1 : -2;
    layout();
    update();
    return true;
}

int CReportCtrl::getNextSelectedItem(int after) const
{
    const int count = getItemCount();
    for (int handle = std::max(0, after + 1); handle < count; ++handle) {
        const bool selected = ownerData()
                                  ? std::find(selected_.begin(), selected_.end(), handle) != selected_.end()
                                  : (items_[static_cast<std::size_t>(handle)].state & RVIS_SELECTED) != 0;
        if (selected)
            return handle;
    }
    return -2;
}

bool CReportCtrl::setFocusCell(int position, int column)
{
    if (position < -1 || position >= getItemCount() || column < -1 || column >= getActiveSubItemCount())
        return false;
    if (column >= 0) {
        const int subItem = getSubItemFromColumn(column);
        if (subItems_[static_cast<std::size_t>(subItem)].format & RVCF_SUBITEM_NOFOCUS)
            return false;
    }
    focusRowAt(position);
    focusColumn_ = column;
    update();
    return true;
}

void CReportCtrl::focusRowAt(int position)
{
    if (ItemRecord* old = (focusRow_ >= -1) ? getItemRecord(getItemAtPosition(focusRow_)) : nullptr)
        old->state &= ~RVIS_FOCUSED;
    focusRow_ = position;
    if (ItemRecord* now = (position >= -1) ? getItemRecord(getItemAtPosition(position)) : nullptr)
        now->state |= RVIS_FOCUSED;
}

int CReportCtrl::findItem(const ReportItem& criteria, unsigned flags, int start)
{
    const int count = getItemCount();
    if (count == 0)
        return -2;
    const int step = (flags & RVFI_UP) ? -1 : 1;
    int position = start + step;
    for (int visited = 0; visited < count; ++visited, position += step) {
        if (position < 0 || position >= count) {
            if (!(flags & RVFI_WRAP))
                return -2;
            position = (position + count) % count;
        }
        ReportCell cell;
        if (!readCell(getItemAtPosition(position), criteria.subItem, cell))
            continue;
        if (flags & RVFI_TEXT) {
            const bool partial = flags & RVFI_PARTIAL;
            if (partial ? cell.text.compare(0, criteria.text.size(), criteria.text) != 0 : cell.text != criteria.text)
                continue;
        }
        if ((flags & RVFI_IMAGE) && cell.image != criteria.image)
            continue;
        if ((flags & RVFI_CHECK) && cell.check != criteria.check)
            continue;
        return position;
    }
    return -2;
}

void CReportCtrl::rebuildIndex()
{
    positions_.assign(items_.size(), -2);
    for (std::size_t position = 0; position < order_.size(); ++position) {
        const int handle = order_[position];
        if (handle >= 0 && handle < static_cast<int>(positions_.size()))
            positions_[static_cast<std::size_t>(handle)] = static_cast<int>(position);
    }
    indexDirty_ = false;
}

int CReportCtrl::getPositionOfItem(int item)
{
    if (item == -1)
        return -1;
    if (ownerData())
        return (item >= 0 && item < ownerCount_) ? item : -2;
    if (indexDirty_)
        rebuildIndex();
    return (item >= 0 && item < static_cast<int>(positions_.size())) ? positions_[static_cast<std::size_t>(item)] : -2;
}

int CReportCtrl::getItemAtPosition(int position) const
{
    if (position == -1)
        return -1;
    if (position < 0 || position >= getItemCount())
        return -2;
    return ownerData() ? position : order_[static_cast<std::size_t>(position)];
}

bool CReportCtrl::moveRowUp(int position)
{
    if (ownerData() || position <= 0 || position >= getItemCount())
        return false;
    std::swap(order_[static_cast<std::size_t>(position - 1)], order_[static_cast<std::size_t>(position)]);
    if (focusRow_ == position)
        focusRow_ = position - 1;
    else if (focusRow_ == position - 1)
        focusRow_ = position;
    indexDirty_ = true;
    update();
    return true;
}

bool CReportCtrl::moveRowDown(int position)
{
    if (ownerData() || position < 0 || position + 1 >= getItemCount())
        return false;
    return moveRowUp(position + 1);
}

bool CReportCtrl::setRowOrder(const std::vector<int>& order)
{
    if (ownerData() || static_cast<int>(order.size()) != getItemCount())
        return false;
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (sorted[i] != static_cast<int>(i))
            return false;
    const int focused = focusRow_ >= 0 ? getItemAtPosition(focusRow_) : -2;
    order_ = order;
    indexDirty_ = true;
    if (focused >= 0)
        focusRow_ = getPositionOfItem(focused);
    update();
    return true;
}

// ---- colours, images, chooser, profile ----------------------------------------

int CReportCtrl::insertColor(int index, COLORREF colour)
{
    if (index < 0)
        return -1;
    try {
        std::vector<COLORREF> colours = colours_;
        if (index >= static_cast<int>(colours.size())) {
            colours.resize(static_cast<std::size_t>(index) + 1, 0);
            colours[static_cast<std::size_t>(index)] = colour;
        } else {
            colours.insert(colours.begin() + index, colour);
        }
        colours_ = std::move(colours);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    update();
    return index;
}

bool CReportCtrl::deleteColor(int index)
{
    if (index < 0 || index >= static_cast<int>(colours_.size()))
        return false;
    colours_.erase(colours_.begin() + index);
    update();
    return true;
}

QColor CReportCtrl::colourAt(int index, const QColor& fallback) const
{
    if (index < 0 || index >= static_cast<int>(colours_.size()))
        return fallback;
    return colorFromRef(colours_[static_cast<std::size_t>(index)]);
}

bool CReportCtrl::setImageList(const IconImageList* list)
{
    if (!list || list->count() == 0)
        return false;
    images_ = list;
    imageWidth_ = list->imageWidth();
    header_->setImageSize(list->imageWidth(), list->imageHeight());
    rowHeight_ = std::max(rowHeight_, list->imageHeight());
    layout();
    update();
    return true;
}

bool CReportCtrl::setBackgroundImage(const QString& file)
{
    QPixmap picture;
    if (!picture.load(file))
        return false;
    background_ = picture;
    update();
    return true;
}

void CReportCtrl::setFieldChooser(QListWidget* chooser)
{
    chooser_ = chooser;
    refreshChooser();
}

void CReportCtrl::refreshChooser()
{
    if (!chooser_)
        return;
    chooser_->clear();
    for (int i = 0; i < getSubItemCount(); ++i) {
        if (isSubItemActive(i))
            continue;
        auto* entry = new QListWidgetItem(qtext(subItems_[static_cast<std::size_t>(i)].caption), chooser_);
        entry->setData(Qt::UserRole, i);
    }
}

std::string CReportCtrl::profileText() const
{
    std::string text = "(" + std::to_string(getSubItemCount()) + "," + std::to_string(getActiveSubItemCount()) + ")";
    for (const ReportSubItem& def : subItems_)
        text += " " + std::to_string(def.width);
    for (int i = 0; i < getActiveSubItemCount(); ++i)
        text += " " + std::to_string(getSubItemFromColumn(i));
    return text;
}

bool CReportCtrl::saveProfile(const std::string& section, const std::string& entry) const
{
    RegistryKey key;
    return key.create(HKEY_CURRENT_USER, "Software\\KOVA\\" + section) && key.setString(entry, profileText());
}

// ---- notifications -----------------------------------------------------------

bool CReportCtrl::sendEnabled(int code) const
{
    const int bit = NOTIFY_BASE - code;
    return bit >= 0 && bit < 32 && (enableMask_ & (1u << bit));
}

long CReportCtrl::notify(ReportNotify& record)
{
    if (!sendEnabled(record.code) || !parentWidget())
        return 0;
    record.from = this;
    record.idFrom = controlId(this);
    record.result = 0;
    emit reportNotify(&record);
    return record.result;
}

long CReportCtrl::notifyItem(int code, int item, int subItem, unsigned newState, std::intptr_t data)
{
    ReportNotify record;
    record.code = code;
    record.item = item;
    record.subItem = subItem;
    record.newState = newState;
    record.data = data;
    return notify(record);
}

// ---- selection and sorting --------------------------------------------------

void CReportCtrl::setSelection(int position, bool selected, bool notifyParent)
{
    const int handle = getItemAtPosition(position);
    ItemRecord* record = getItemRecord(handle);
    if (!record || ((record->state & RVIS_SELECTED) != 0) == selected)
        return;
    const unsigned newState = selected ? (record->state | RVIS_SELECTED) : (record->state & ~RVIS_SELECTED);
    if (notifyParent && notifyItem(RVN_SELECTIONCHANGING, handle, -1, newState, record->data) != 0)
        return;
    record = getItemRecord(handle);
    if (!record)
        return;
    record->state = newState;
    if (selected)
        selected_.push_back(handle);
    else
        selected_.erase(std::remove(selected_.begin(), selected_.end(), handle), selected_.end());
    if (notifyParent) {
        notifyItem(RVN_SELECTIONCHANGED, handle, -1, newState, record->data);
        ControlNotifier::send(this, Notification::ListItemChanged);
    }
}

void CReportCtrl::selectRange(int first, int last, bool select, bool keepOthers, bool toggle, bool notifyParent)
{
    if (style_ & RVS_SINGLESELECT) {
        last = first;
        keepOthers = false;
    }
    if (first != focusRow_)
        focusRowAt(first);
    else if (ItemRecord* record = getItemRecord(getItemAtPosition(first)))
        record->state |= RVIS_FOCUSED;
    if (select) {
        const int low = std::min(first, last);
        const int high = std::max(first, last);
        for (int position = low; position <= high; ++position) {
            const ItemRecord* record = getItemRecord(getItemAtPosition(position));
            if (!record)
                continue;
            const bool now = (record->state & RVIS_SELECTED) != 0;
            setSelection(position, toggle ? !now : true, notifyParent);
        }
        if (!keepOthers) {
            const std::vector<int> before = selected_;
            for (int handle : before) {
                const int position = getPositionOfItem(handle);
                if (position < low || position > high)
                    setSelection(position, false, notifyParent);
            }
        }
    }
    update();
}

int CReportCtrl::compareItems(int subItem, int itemA, int itemB)
{
    if (compare_)
        return compare_(subItem, itemA, itemB);
    ReportItem a, b;
    a.mask = b.mask = RVIM_TEXT | RVIM_IMAGE;
    a.item = itemA;
    b.item = itemB;
    a.subItem = b.subItem = subItem;
    getItem(a);
    getItem(b);
    return compareCells(a, b);
}

int CReportCtrl::compareCells(const ReportItem& cellA, const ReportItem& cellB)
{
    if (cellA.text.empty() && cellB.text.empty())
        return sign(cellA.image - cellB.image);
    return sign(std::strcmp(cellA.text.c_str(), cellB.text.c_str()));
}

void CReportCtrl::sortRange(int subItem, int first, int last, bool ascending)
{
    while (first < last) {
        const int pivot = order_[static_cast<std::size_t>((first + last) / 2)];
        auto compare = [&](int a, int b) {
            const int result = compareItems(subItem, a, b);
            return ascending ? result : -result;
        };
        int i = first;
        int j = last;
        while (i <= j) {
            // The bounds keep a compare function that contradicts itself from
            // walking off the rows.
            while (i < last && compare(order_[static_cast<std::size_t>(i)], pivot) < 0)
                ++i;
            while (j > first && compare(order_[static_cast<std::size_t>(j)], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(order_[static_cast<std::size_t>(i)], order_[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        }
        // Recurse into the smaller half, loop over the larger one.
        if (j - first < last - i) {
            sortRange(subItem, first, j, ascending);
            first = i;
        } else {
            sortRange(subItem, i, last, ascending);
            last = j;
        }
    }
}

bool CReportCtrl::sortByColumn(int subItem, bool ascending)
{
    if (ownerData() || subItem < 0 || subItem >= getSubItemCount())
        return false;
    closeEditorKeepingText();
    header_->setSortColumn(getColumnFromSubItem(subItem), ascending);
    const int focused = focusRow_ >= 0 ? getItemAtPosition(focusRow_) : -2;
    sortRange(subItem, 0, getItemCount() - 1, ascending);
    indexDirty_ = true;
    if (focused >= 0) {
        focusRow_ = getPositionOfItem(focused);
        ensureVisible(focusRow_);
    }
    update();
    return true;
}

bool CReportCtrl::resort()
{
    bool ascending = true;
    const int column = header_->getSortColumn(&ascending);
    const int subItem = getSubItemFromColumn(column);
    return subItem >= 0 && sortByColumn(subItem, ascending);
}

bool CReportCtrl::sortItems(bool ascending)
{
    if (ownerData())
        return false;
    closeEditorKeepingText();
    const int focused = focusRow_ >= 0 ? getItemAtPosition(focusRow_) : -2;
    const int count = getItemCount();
    const int columns = getActiveSubItemCount();
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count; ++j) {
            int result = 0;
            for (int order = 0; order < columns && result == 0; ++order)
                result = compareItems(getSubItemFromColumn(header_->orderToIndex(order)),
                                      order_[static_cast<std::size_t>(i)], order_[static_cast<std::size_t>(j)]);
            if ((ascending && result > 0) || (!ascending && result < 0))
                std::swap(order_[static_cast<std::size_t>(i)], order_[static_cast<std::size_t>(j)]);
        }
    }
    indexDirty_ = true;
    if (focused >= 0) {
        focusRow_ = getPositionOfItem(focused);
        ensureVisible(focusRow_);
    }
    update();
    return true;
}

// ---- layout and scrolling -----------------------------------------------------

int CReportCtrl::rowHeightAt(int position)
{
    const ItemRecord* record = getItemRecord(getItemAtPosition(position), -1, RVIM_ROWHEIGHT);
    return rowHeight_ + (record ? std::max(0, record->extraHeight) : 0);
}

int CReportCtrl::rowsFitting(int from)
{
    const int count = getItemCount();
    int rows = 0;
    int used = 0;
    for (int position = std::max(0, from); position < count; ++position) {
        used += rowHeightAt(position);
        if (used > itemArea_.height())
            break;
        ++rows;
    }
    return rows;
}

int CReportCtrl::lastFirstRow()
{
    const int count = getItemCount();
    int used = 0;
    int first = count;
    while (first > 0) {
        used += rowHeightAt(first - 1);
        if (used > itemArea_.height())
            break;
        --first;
    }
    return std::min(first, std::max(0, count - 1));
}

int CReportCtrl::rowTop(int position)
{
    if (position == -1)
        return entryArea_.top() + DLG_FRAME;
    int y = itemArea_.top();
    if (position >= firstRow_) {
        for (int p = firstRow_; p < position; ++p)
            y += rowHeightAt(p);
    } else {
        for (int p = position; p < firstRow_; ++p)
            y -= rowHeightAt(p);
    }
    return y;
}

void CReportCtrl::layout()
{
    if (inLayout_)
        return;
    inLayout_ = true;
    tip_->hide();
    const QRect client = contentsRect();
    const int headerHeight = (style_ & RVS_NOHEADER) ? 0 : header_->layoutHeight();
    const int entryHeight = (style_ & RVS_ALLOWEDIT) ? rowHeight_ + 2 * DLG_FRAME : 0;
    const int barWidth = vBar_->sizeHint().width();
    const int barHeight = hBar_->sizeHint().height();
    bool needV = false;
    bool needH = false;
    for (int pass = 0; pass < 3; ++pass) {
        const int width = client.width() - (needV ? barWidth : 0);
        const int height = client.height() - (needH ? barHeight : 0);
        itemArea_ = QRect(client.left(), client.top() + headerHeight + entryHeight, std::max(0, width),
                          std::max(0, height - headerHeight - entryHeight));
        needH = totalWidth_ > itemArea_.width();
        needV = getItemCount() > rowsFitting(0);
    }
    headerArea_ = QRect(client.left(), client.top(), itemArea_.width(), headerHeight);
    entryArea_ = QRect(client.left(), headerArea_.bottom() + 1, itemArea_.width(), entryHeight);
    header_->setGeometry(headerArea_);
    header_->setVisible(headerHeight > 0);
    vBar_->setGeometry(client.right() + 1 - barWidth, client.top(), barWidth, itemArea_.bottom() + 1 - client.top());
    vBar_->setVisible(needV);
    hBar_->setGeometry(client.left(), itemArea_.bottom() + 1, itemArea_.width(), barHeight);
    hBar_->setVisible(needH);
    inLayout_ = false;
    updateScrollBars();
}

void CReportCtrl::updateScrollBars()
{
    const bool wasInLayout = inLayout_;
    inLayout_ = true;
    const int maxScroll = std::max(0, totalWidth_ - itemArea_.width());
    hScroll_ = std::clamp(hScroll_, 0, maxScroll);
    hBar_->setRange(0, maxScroll);
    hBar_->setPageStep(std::max(1, itemArea_.width()));
    hBar_->setSingleStep(std::max(1, itemArea_.width() / 8));
    hBar_->setValue(hScroll_);
    header_->setOffset(hScroll_);
    const int maxFirst = lastFirstRow();
    firstRow_ = std::clamp(firstRow_, 0, maxFirst);
    vBar_->setRange(0, maxFirst);
    vBar_->setPageStep(std::max(1, rowsFitting(firstRow_)));
    vBar_->setValue(firstRow_);
    inLayout_ = wasInLayout;
}

void CReportCtrl::resizeEvent(QResizeEvent* event)
{
    closeEditorKeepingText();
    QFrame::resizeEvent(event);
    layout();
}

void CReportCtrl::onVScroll(int code, int position)
{
    closeEditorKeepingText();
    tip_->hide();
    const int maxFirst = lastFirstRow();
    const int page = std::max(1, rowsFitting(firstRow_));
    int first = firstRow_;
    switch (code) {
    case SB_LINEUP:
        --first;
        break;
    case SB_LINEDOWN:
        ++first;
        break;
    case SB_PAGEUP:
        first -= page;
        break;
    case SB_PAGEDOWN:
        first += page;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        first = position;
        break;
    case SB_TOP:
        first = 0;
        break;
    case SB_BOTTOM:
        first = maxFirst;
        break;
    default:
        return;
    }
    first = std::clamp(first, 0, maxFirst);
    if (first == firstRow_)
        return;
    firstRow_ = first;
    updateScrollBars();
    update();
}

void CReportCtrl::onHScroll(int code, int position)
{
    closeEditorKeepingText();
    tip_->hide();
    const int maxScroll = std::max(0, totalWidth_ - itemArea_.width());
    int scroll = hScroll_;
    switch (code) {
    case SB_LINELEFT:
        scroll -= itemArea_.width() / 8;
        break;
    case SB_LINERIGHT:
        scroll += itemArea_.width() / 8;
        break;
    case SB_PAGELEFT:
        scroll -= itemArea_.width();
        break;
    case SB_PAGERIGHT:
        scroll += itemArea_.width();
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        scroll = position;
        break;
    case SB_LEFT:
        scroll = 0;
        break;
    case SB_RIGHT:
        scroll = totalWidth_;
        break;
    default:
        return;
    }
    scroll = std::clamp(scroll, 0, maxScroll);
    if (scroll == hScroll_)
        return;
    hScroll_ = scroll;
    updateScrollBars();
    update();
}

void CReportCtrl::ensureVisible(int position)
{
    if (position < 0 || position >= getItemCount())
        return;
    if (position < firstRow_)
        firstRow_ = position;
    else
        while (firstRow_ < position && position >= firstRow_ + std::max(1, rowsFitting(firstRow_)))
            ++firstRow_;
    updateScrollBars();
    update();
}

void CReportCtrl::onMouseWheel(int delta)
{
    int steps = 0;
    int code = 0;
    if (wheelLines_ == WHEEL_PAGESCROLL) {
        steps = delta / WHEEL_DELTA;
        code = steps > 0 ? SB_PAGEUP : SB_PAGEDOWN;
    } else {
        steps = delta * wheelLines_ / WHEEL_DELTA;
        code = steps > 0 ? SB_LINEUP : SB_LINEDOWN;
    }
    // Posted, so the steps run after the wheel event is done.
    for (int i = 0; i < std::abs(steps); ++i)
        QMetaObject::invokeMethod(this, [this, code] { onVScroll(code); }, Qt::QueuedConnection);
}

void CReportCtrl::wheelEvent(QWheelEvent* event)
{
    onMouseWheel(event->angleDelta().y());
    event->accept();
}

// ---- geometry of cells ---------------------------------------------------------

int CReportCtrl::columnLeft(int column) const
{
    int x = itemArea_.left() - hScroll_;
    const int order = header_->indexToOrder(column);
    for (int o = 0; o < order; ++o)
        x += header_->getItemRect(header_->orderToIndex(o)).width();
    return x;
}

QRect CReportCtrl::getCellRect(int position, int column, bool inner)
{
    if (column < 0 || column >= getActiveSubItemCount())
        return {};
    const QRect rect(columnLeft(column), rowTop(position), header_->getItemRect(column).width(), rowHeight_);
    return inner ? rect.adjusted(margin_, 0, -margin_, 0) : rect;
}

bool CReportCtrl::hitTestCell(const QPoint& point, int& position, int& column)
{
    if (!itemArea_.contains(point))
        return false;
    int y = itemArea_.top();
    const int count = getItemCount();
    position = -2;
    for (int p = firstRow_; p < count && y <= itemArea_.bottom(); ++p) {
        const int height = rowHeightAt(p);
        if (point.y() >= y && point.y() < y + rowHeight_) {
            position = p;
            break;
        }
        y += height;
    }
    if (position < 0)
        return false;
    for (int c = 0; c < getActiveSubItemCount(); ++c) {
        const int left = columnLeft(c);
        if (point.x() >= left && point.x() < left + header_->getItemRect(c).width()) {
            column = c;
            return true;
        }
    }
    return false;
}

int CReportCtrl::nextColumn(int column, int step) const
{
    const int count = getActiveSubItemCount();
    int order = column < 0 ? -1 : header_->indexToOrder(column);
    for (order += step; order >= 0 && order < count; order += step) {
        const int index = header_->orderToIndex(order);
        const int subItem = getSubItemFromColumn(index);
        if (!(subItems_[static_cast<std::size_t>(subItem)].format & RVCF_SUBITEM_NOFOCUS))
            return index;
    }
    return step < 0 ? -1 : column;
}

void CReportCtrl::redrawRow(int position)
{
    if (position == -1) {
        update(entryArea_);
        return;
    }
    update(QRect(itemArea_.left(), rowTop(position), itemArea_.width(), rowHeightAt(position)));
}

// ---- painting ------------------------------------------------------------------

void CReportCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect client = contentsRect();
    painter.setClipRect(client);
    drawBackground(painter, client, system_[EMPTY_BACK]);

    if (style_ & RVS_ALLOWEDIT) {
        painter.fillRect(entryArea_, system_[ENTRY_ROW]);
        painter.setPen(system_[ENTRY_HIGHLIGHT]);
        painter.drawLine(entryArea_.topLeft(), entryArea_.topRight());
        painter.drawLine(entryArea_.topLeft(), entryArea_.bottomLeft());
        painter.setPen(system_[ENTRY_DARK_SHADOW]);
        painter.drawLine(entryArea_.bottomLeft(), entryArea_.bottomRight());
        painter.drawLine(entryArea_.topRight(), entryArea_.bottomRight());
        const QRect row(entryArea_.left(), entryArea_.top() + DLG_FRAME, entryArea_.width(), rowHeight_);
        painter.save();
        painter.setClipRect(entryArea_.adjusted(1, 1, -1, -1));
        drawItem(painter, row, entryArea_, -1, false);
        if (hasFocus_ && !editor_ && focusRow_ == -1 && focusColumn_ < 0) {
            painter.setPen(QPen(system_[TEXT], 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(row.adjusted(1, 0, -2, -1));
        }
        painter.restore();
    }

    painter.setClipRect(itemArea_);
    const int count = getItemCount();
    if (count == 0) {
        painter.setPen(system_[TEXT]);
        painter.setFont(font_);
        const QRect band(itemArea_.left(), itemArea_.top() + 2, itemArea_.width(), rowHeight_);
        painter.drawText(band, Qt::AlignCenter | Qt::TextSingleLine,
                         QFontMetrics(font_).elidedText(noItemsText_, Qt::ElideRight, band.width()));
        return;
    }

    const bool grid = style_ & (RVS_SHOWHGRID | RVS_SHOWVGRID);
    QPen gridPen(system_[GRID], 1, gridStyle_);
    int y = itemArea_.top();
    for (int position = firstRow_; position < count && y <= itemArea_.bottom(); ++position) {
        const int handle = getItemAtPosition(position);
        ItemRecord* record = getItemRecord(handle, -1, RVIM_BKCOLOR | RVIM_ROWHEIGHT | RVIM_STATE | RVIM_LPARAM);
        const int extra = record ? std::max(0, record->extraHeight) : 0;
        const QRect row(itemArea_.left(), y, itemArea_.width(), rowHeight_ + extra);
        drawItem(painter, row, itemArea_, position, position % 2 == 1);
        if (extra > 0 && record) {
            ReportNotify area;
            area.code = RVN_ITEMDRAWPREVIEW;
            area.item = handle;
            area.newState = record->state;
            area.painter = &painter;
            area.rect = QRect(row.left(), y + rowHeight_, row.width(), extra);
            area.data = record->data;
            painter.save();
            notify(area);
            painter.restore();
        }
        if (style_ & RVS_SHOWHGRID) {
            painter.setPen(gridPen);
            painter.drawLine(row.left(), row.bottom(), row.right(), row.bottom());
        }
        if (hasFocus_ && !editor_ && position == focusRow_ && (!(style_ & RVS_FOCUSSUBITEMS) || focusColumn_ < 0)) {
            painter.setPen(QPen(system_[TEXT], 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            const int inset = grid ? 1 : 0;
            painter.drawRect(row.adjusted(inset, 0, -1 - inset, -1 - inset));
        }
        y += row.height();
    }
    painter.setPen(gridPen);
    const int gridBottom = (style_ & RVS_EXPANDGRID) ? itemArea_.bottom() : y - 1;
    if ((style_ & RVS_SHOWHGRID) && (style_ & RVS_EXPANDGRID))
        for (int lineY = y + rowHeight_ - 1; lineY <= itemArea_.bottom(); lineY += rowHeight_)
            painter.drawLine(itemArea_.left(), lineY, itemArea_.right(), lineY);
    if (style_ & RVS_SHOWVGRID) {
        for (int order = 0; order < getActiveSubItemCount(); ++order) {
            const int column = header_->orderToIndex(order);
            const int right = columnLeft(column) + header_->getItemRect(column).width() - 1;
            painter.drawLine(right, itemArea_.top(), right, gridBottom);
        }
    }
}

void CReportCtrl::drawBackground(QPainter& painter, const QRect& rect, const QColor& colour)
{
    if (background_.isNull()) {
        painter.fillRect(rect, colour);
        return;
    }
    painter.save();
    painter.setClipRect(rect.intersected(itemArea_.isEmpty() ? rect : itemArea_.united(rect)));
    // Tiles line up with the scrolled origin, so the picture moves with the columns.
    const int w = background_.width();
    const int h = background_.height();
    const int originX = itemArea_.left() - hScroll_;
    int startX = originX + ((rect.left() - originX) / w) * w;
    if (startX > rect.left())
        startX -= w;
    const int startY = rect.top() - ((rect.top() - itemArea_.top()) % h + h) % h;
    for (int y = startY; y <= rect.bottom(); y += h)
        for (int x = startX; x <= rect.right(); x += w)
            painter.drawPixmap(x, y, background_);
    painter.restore();
}

void CReportCtrl::drawItem(QPainter& painter, const QRect& rect, const QRect& clip, int position, bool odd)
{
    const int handle = getItemAtPosition(position);
    ItemRecord* record = getItemRecord(handle, -1, RVIM_BKCOLOR | RVIM_ROWHEIGHT | RVIM_STATE);
    if (!record)
        return;
    const unsigned state = record->state;
    const int bkColor = record->bkColor;
    QColor back = system_[BACK];
    if (odd && (style_ & RVS_SHOWEVENBKCOLOR))
        back = colourAt(0, back);
    if (bkColor >= 0)
        back = colourAt(bkColor, back);
    const bool selected = state & RVIS_SELECTED;
    const bool showSelection = selected && (hasFocus_ || (style_ & RVS_SHOWSELALWAYS));
    if (showSelection)
        back = hasFocus_ ? system_[SELECTED_BACK] : system_[SELECTED_BACK_NO_FOCUS];
    if (background_.isNull() || back != system_[BACK])
        painter.fillRect(rect, back);
    else
        drawBackground(painter, rect, back);
    painter.setFont(rowFont(state));

    for (int order = 0; order < getActiveSubItemCount(); ++order) {
        const int column = header_->orderToIndex(order);
        const int width = header_->getItemRect(column).width();
        const int left = columnLeft(column);
        if (left + width <= clip.left())
            continue;
        if (left > clip.right())
            break;
        const int subItem = getSubItemFromColumn(column);
        CellDraw cell;
        ReportCell stored;
        if (ItemRecord* cellRecord = getItemRecord(handle, subItem, RVIM_TEXT | RVIM_TEXTCOLOR | RVIM_IMAGE | RVIM_CHECK))
            ReportCellCodec::readCell(cellRecord->rowText, subItem, stored, REPORT_TEXT_LIMIT);
        cell.cell.item = handle;
        cell.cell.subItem = subItem;
        cell.cell.text = stored.text;
        cell.cell.textColor = stored.colour;
        cell.cell.image = stored.image;
        cell.cell.check = stored.check;
        cell.cell.state = state;
        cell.format = subItems_[static_cast<std::size_t>(subItem)].format;
        if (ItemRecord* barRecord = getItemRecord(handle)) {
            const auto bar = barRecord->bars.find(subItem);
            if (bar != barRecord->bars.end())
                cell.bar = bar->second.get();
        }
        cell.back = back;
        cell.text = stored.colour >= 0 ? colourAt(stored.colour, system_[TEXT]) : system_[TEXT];
        if (showSelection && !((style_ & RVS_SHOWCOLORALWAYS) && stored.colour >= 0))
            cell.text = hasFocus_ ? system_[SELECTED_TEXT] : system_[SELECTED_TEXT_NO_FOCUS];
        const QRect cellRect(left, rect.top(), width, rowHeight_);
        const bool focusedCell = (style_ & RVS_FOCUSSUBITEMS) && position == focusRow_ && column == focusColumn_;
        if (focusedCell) {
            cell.back = system_[BACK];
            cell.text = system_[TEXT];
            painter.fillRect(cellRect, cell.back);
        }
        painter.save();
        painter.setClipRect(cellRect.intersected(clip));
        drawSubItem(painter, cellRect.adjusted(margin_, 0, -margin_, 0), cell);
        painter.restore();
        if (focusedCell && hasFocus_ && !editor_) {
            painter.setPen(QPen(system_[TEXT], 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cellRect.adjusted(0, 0, -1, -1));
        }
    }
}

int CReportCtrl::drawSubItem(QPainter& painter, const QRect& rect, const CellDraw& cell)
{
    int x = rect.left();
    const int image = drawImage(painter, QRect(x, rect.top(), rect.right() + 1 - x, rect.height()), cell);
    if (cell.cell.image >= 0 && image == 0)
        return 0;
    if (image > 0)
        x += image + margin_;
    const int check = drawCheck(painter, QRect(x, rect.top(), rect.right() + 1 - x, rect.height()), cell);
    if (cell.cell.check >= 0 && check == 0)
        return x - rect.left();
    if (check > 0)
        x += check + margin_;
    x += drawText(painter, QRect(x, rect.top(), rect.right() + 1 - x, rect.height()), cell);
    return x - rect.left();
}

int CReportCtrl::drawImage(QPainter& painter, const QRect& rect, const CellDraw& cell)
{
    if (!images_ || cell.cell.image < 0 || cell.cell.image >= images_->count() || rect.width() < imageWidth_)
        return 0;
    const QPixmap picture = images_->pixmap(cell.cell.image);
    painter.drawPixmap(rect.left(), rect.top() + (rect.height() - picture.height()) / 2, picture);
    return imageWidth_;
}

int CReportCtrl::drawCheck(QPainter& painter, const QRect& rect, const CellDraw& cell)
{
    if (cell.cell.check < 0)
        return (cell.format & RVCF_SUBITEM_IMAGE) ? checkWidth_ : 0;
    if (rect.width() <= checkWidth_)
        return 0;
    const QRect box(rect.left(), rect.top() + (rect.height() - checkHeight_) / 2, checkWidth_, checkHeight_);
    painter.fillRect(box, cell.back);
    painter.setPen(QPen(system_[TEXT], 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (cell.cell.check > 0) {
        painter.setPen(QPen(system_[TEXT], std::max(1, checkWidth_ / 6)));
        const QRect in = box.adjusted(checkWidth_ / 5, checkHeight_ / 5, -checkWidth_ / 5, -checkHeight_ / 5);
        painter.drawLine(in.left(), in.center().y(), in.left() + in.width() / 3, in.bottom());
        painter.drawLine(in.left() + in.width() / 3, in.bottom(), in.right(), in.top());
    }
    return checkWidth_;
}

int CReportCtrl::drawText(QPainter& painter, const QRect& rect, const CellDraw& cell)
{
    if (cell.bar) {
        // A bar cell: the gauge fills the cell, one pixel in at the top and two at the bottom.
        cell.bar->drawInto(painter, rect.left(), rect.top() + 1, rect.right() + 1, rect.bottom() + 1 - 2, true);
        return 0;
    }
    if (cell.cell.text.empty() || rect.width() <= 0)
        return 0;
    static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignLeft};
    const QString text = qtext(cell.cell.text);
    const QFontMetrics metrics = painter.fontMetrics();
    const QString shown = metrics.elidedText(text, Qt::ElideRight, rect.width());
    painter.setPen(cell.text);
    painter.drawText(rect, alignments[cell.format & RVCF_JUSTIFYMASK] | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    return std::min(metrics.horizontalAdvance(shown), rect.width());
}

// ---- keyboard ------------------------------------------------------------------

void CReportCtrl::keyPressEvent(QKeyEvent* event)
{
    const int key = virtualKey(event->key());
    onKeyDown(key, event->nativeScanCode(), event->modifiers());
    const QString text = event->text();
    if (!text.isEmpty()) {
        const int character = text.at(0).unicode();
        if (character >= 0x20 || character == VK_BACK || character == VK_RETURN)
            onChar(character);
    }
    // Enter and Escape that start no edit still reach the dialog's default and cancel buttons.
    if ((key == VK_RETURN || key == VK_ESCAPE) && !editor_)
        event->ignore();
    else
        event->accept();
}

void CReportCtrl::onKeyDown(int key, unsigned flags, Qt::KeyboardModifiers modifiers)
{
    ReportNotify record;
    record.code = RVN_KEYDOWN;
    record.value = key;
    record.flags = flags;
    record.item = getItemAtPosition(focusRow_);
    record.subItem = getSubItemFromColumn(focusColumn_);
    if (const ItemRecord* focused = focusRow_ >= -1 ? getItemRecord(record.item) : nullptr)
        record.data = focused->data;
    if (notify(record) != 0)
        return;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (key < VK_ESCAPE || key > VK_DOWN) {
        ctrlUp_ = !ctrl;
        return;
    }
    const int count = getItemCount();
    const int lowest = (style_ & RVS_ALLOWEDIT) ? -1 : 0;
    switch (key) {
    case VK_SPACE:
        if (focusRow_ >= lowest && focusRow_ < count)
            selectRange(focusRow_, focusRow_, true, true, ctrl);
        break;
    case VK_PRIOR:
        if (count == 0)
            break;
        if (focusRow_ == firstRow_)
            onVScroll(SB_PAGEUP);
        navigateRows(firstRow_, modifiers);
        break;
    case VK_NEXT: {
        if (count == 0)
            break;
        auto lastVisible = [&] { return std::min(count - 1, firstRow_ + std::max(1, rowsFitting(firstRow_)) - 1); };
        if (focusRow_ == lastVisible())
            onVScroll(SB_PAGEDOWN);
        navigateRows(lastVisible(), modifiers);
        break;
    }
    case VK_HOME:
    case VK_END: {
        const int target = key == VK_HOME ? 0 : count - 1;
        if (count == 0 || focusRow_ == target)
            break;
        onVScroll(key == VK_HOME ? SB_TOP : SB_BOTTOM);
        if (!shift)
            anchorRow_ = target;
        if (ctrl)
            selectRange(target, target, false, true, false);
        else
            selectRange(target, anchorRow_, true, false, false);
        break;
    }
    case VK_UP:
        if (focusRow_ < 0 && lowest == 0 && count > 0)
            navigateRows(0, modifiers);
        else if (focusRow_ > lowest)
            navigateRows(focusRow_ - 1, modifiers);
        break;
    case VK_DOWN:
        if (count > 0 && focusRow_ < count - 1)
            navigateRows(std::max(focusRow_ + 1, 0), modifiers);
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        const int column = nextColumn(focusColumn_, key == VK_LEFT ? -1 : 1);
        if (column == focusColumn_)
            break;
        focusColumn_ = column;
        if (column >= 0) {
            const int left = columnLeft(column) - itemArea_.left() + hScroll_;
            const int width = header_->getItemRect(column).width();
            if (left < hScroll_)
                onHScroll(SB_THUMBPOSITION, left);
            else if (left + width > hScroll_ + itemArea_.width())
                onHScroll(SB_THUMBPOSITION, left + width - itemArea_.width());
        }
        redrawRow(focusRow_);
        update();
        break;
    }
    default:
        break;
    }
}

void CReportCtrl::navigateRows(int target, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        selectRange(target, target, false, true, false);
    } else if (modifiers & Qt::ShiftModifier) {
        selectRange(target, anchorRow_, true, false, false);
    } else {
        selectRange(target, target, true, false, false);
        anchorRow_ = target;
    }
    ensureVisible(target);
}

void CReportCtrl::onChar(int character)
{
    if (!ctrlUp_ || focusColumn_ < 0)
        return;
    if (focusRow_ >= 0 && !(style_ & RVS_FOCUSSUBITEMS))
        return;
    beginEdit(focusRow_, focusColumn_, character);
}

// ---- mouse and focus -------------------------------------------------------------

void CReportCtrl::mousePressEvent(QMouseEvent* event)
{
    // A click takes the focus but selects nothing.
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void CReportCtrl::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void CReportCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (!(style_ & RVS_SHOWTIPS) || event->buttons() != Qt::NoButton || editor_)
        return;
    int position = 0;
    int column = 0;
    if (!hitTestCell(event->position().toPoint(), position, column))
        return;
    const int handle = getItemAtPosition(position);
    const int subItem = getSubItemFromColumn(column);
    if (getItemBar(handle, subItem))
        return;
    const std::string text = getItemText(handle, subItem);
    if (text.empty())
        return;
    const ItemRecord* record = getItemRecord(handle);
    tip_->show(getCellRect(position, column, true), qtext(text), &rowFont(record ? record->state : 0));
}

void CReportCtrl::focusInEvent(QFocusEvent* event)
{
    hasFocus_ = true;
    update();
    QFrame::focusInEvent(event);
}

void CReportCtrl::focusOutEvent(QFocusEvent* event)
{
    // Handing the focus to our own editor keeps the row looking focused.
    if (!(editor_ && QApplication::focusWidget() == editor_))
        hasFocus_ = false;
    tip_->hide();
    update();
    QFrame::focusOutEvent(event);
}

// ---- in-place editing -------------------------------------------------------------

bool CReportCtrl::beginEdit(int position, int column, int character)
{
    if (!(style_ & RVS_ALLOWEDIT) || editor_)
        return false;
    if (column < 0 || column >= getActiveSubItemCount() || position < -1 || position >= getItemCount())
        return false;
    const int handle = getItemAtPosition(position);
    const int subItem = getSubItemFromColumn(column);
    ItemRecord* record = getItemRecord(handle, subItem, RVIM_TEXT | RVIM_STATE | RVIM_LPARAM);
    if (!record || (record->state & RVIS_READONLY))
        return false;
    ReportCell cell;
    if (!ReportCellCodec::readCell(record->rowText, subItem, cell, REPORT_TEXT_LIMIT))
        return false;
    const unsigned state = record->state;
    ensureVisible(position);
    const QRect rect = getCellRect(position, column, true);

    ReportNotify request;
    request.code = RVN_BEGINITEMEDIT;
    request.item = handle;
    request.subItem = subItem;
    request.rect = rect;
    request.character = character;
    request.text = cell.text;
    request.data = record->data;
    editItem_ = handle;
    editSubItem_ = subItem;
    editKey_ = 0;
    editEnding_ = false;
    if (notify(request) != 0) {
        if (!request.editor)
            return false;
        editor_ = request.editor;
        ownEditor_ = false;
        editor_->installEventFilter(this);
        editor_->setFocus();
        update();
        return true;
    }

    auto* edit = new QLineEdit(this);
    edit->setFrame(false);
    edit->setFont(rowFont(state));
    edit->setGeometry(rect);
    edit->setMaxLength(EDIT_TEXT_LIMIT);
    edit->setText(qtext(cell.text));
    switch (character) {
    case VK_RETURN:
    case 1:
        edit->end(false);
        break;
    case VK_BACK:
        edit->end(false);
        edit->backspace();
        break;
    case VK_TAB:
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        edit->selectAll();
        break;
    default:
        edit->setText(QString(QChar(character)));
        edit->end(false);
        break;
    }
    editor_ = edit;
    ownEditor_ = true;
    edit->installEventFilter(this);
    edit->show();
    edit->setFocus();
    update();
    return true;
}

bool CReportCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (!editor_ || watched != editor_)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const int key = virtualKey(static_cast<QKeyEvent*>(event)->key());
        if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) {
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept();
                return true;
            }
            editKey_ = key;
            setFocus(Qt::OtherFocusReason);
            if (editor_ && !editEnding_)
                editorFinished();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        if (!editEnding_)
            editorFinished();
    }
    return QFrame::eventFilter(watched, event);
}

void CReportCtrl::editorFinished()
{
    if (!editor_ || editEnding_)
        return;
    editEnding_ = true;
    ReportNotify record;
    record.code = RVN_ENDITEMEDIT;
    record.item = editItem_;
    record.subItem = editSubItem_;
    record.editor = editor_;
    record.character = editKey_;
    record.text = narrow(windowText(editor_));
    if (const ItemRecord* item = getItemRecord(editItem_))
        record.data = item->data;
    if (notify(record) != 0)
        endEdit(false, &record);
    else
        endEdit(editKey_ != VK_ESCAPE, &record);
}

void CReportCtrl::endEdit(bool apply, const ReportNotify* record)
{
    if (!editor_)
        return;
    editEnding_ = true;
    QWidget* editor = editor_;
    if (apply) {
        const std::string text = cutUtf8(record ? record->text : narrow(windowText(editor)), EDIT_TEXT_LIMIT);
        if (ItemRecord* item = getItemRecord(editItem_)) {
            ReportCell cell;
            if (ReportCellCodec::readCell(item->rowText, editSubItem_, cell)) {
                cell.text = text;
                ReportCellCodec::writeCell(item->rowText, editSubItem_, cell);
            }
        }
    }
    const bool editorHadFocus = editor->hasFocus();
    editor->removeEventFilter(this);
    editor_ = nullptr;
    if (editorHadFocus)
        setFocus(Qt::OtherFocusReason);
    if (ownEditor_) {
        editor->hide();
        editor->deleteLater();
    }
    ownEditor_ = false;
    hasFocus_ = hasFocus();
    editItem_ = -1;
    editSubItem_ = -1;
    update();
}

void CReportCtrl::closeEditorKeepingText()
{
    if (!editor_ || editEnding_)
        return;
    editKey_ = 0;
    editorFinished();
}

} // namespace kova
