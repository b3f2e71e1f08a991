#include "controls/reportctrl/CReportCtrl.h"

#include "controls/IconImageList.h"
#include "controls/reportctrl/CFlatHeaderCtrl.h"
#include "controls/reportctrl/CReportTipCtrl.h"
#include "controls/reportctrl/ReportCtrlShared.h"
#include "gettext/Gettext.h"
#include "Rodezir/RegistryKey.h"
#include "Rodezir/dialogs/DialogBuilder.h"
#include "Rodezir/dialogs/DialogItem.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>

#include <algorithm>
#include <charconv>
#include <new>

namespace kova {

using namespace reportctrl;

namespace {

constexpr int NOTIFY_BASE = -2048;

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

void CReportCtrl::setLastRowFlag(bool flag)
{
    lastRowFlag_ = flag;
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
    textWidths_.clear();
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

} // namespace kova
