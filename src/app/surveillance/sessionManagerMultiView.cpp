#include "app/surveillance/sessionManagerMultiView.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "app/graphs/AxisCtrl.h"
#include "app/sessions/Session.h"
#include "app/shell/ToolTipAnswer.h"
#include "app/surveillance/SurveillanceLayout.h"
#include "app/surveillance/SurveillanceTile.h"
#include "app/surveillance/ZoomCombo.h"
#include "app/surveillance/ZoomWindows.h"
#include "config/Configuration.h"
#include "controls/HoverHintStatic.h"
#include "controls/RoundButton.h"
#include "platform/Help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

using namespace kova;

namespace {

constexpr const wchar_t* NO_ECG_BOX = L"NONE";
// Up-down styles: horizontal arrows that answer the arrow keys.
constexpr std::uint32_t UDS_ARROWKEYS = 0x20;
constexpr std::uint32_t UDS_HORZ = 0x40;
// A list box whose rows the class library draws with check boxes.
constexpr std::uint32_t LBS_OWNERDRAWFIXED = 0x10;
constexpr std::uint32_t LBS_HASSTRINGS = 0x40;

// The settings down the left, the tiles to their right.
DialogTable surveillanceTable()
{
    using V = sessionManagerMultiView;
    DialogTable table;
    table.id = V::TEMPLATE_ID;
    table.style = WS_CHILD | WS_VISIBLE | WS_THICKFRAME | DS_CONTROL | DS_SETFONT;
    table.cx = 420;
    table.cy = 250;
    DialogControlTable cancel = pushButton(L"\u00A4Cancel", IDCANCEL, 5, 230, 80, 14);
    cancel.style &= ~WS_VISIBLE;
    table.controls = {
        label(L"\u00A4Mouse Position:", IDC_STATIC, 5, 5, 80, 8),
        label(L".", V::IDC_MOUSE_POSITION, 5, 14, 80, 9),
        label(L"\u00A4Zoom:", IDC_STATIC, 5, 28, 80, 8),
        control(L"", V::IDC_ZOOM, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 5, 38, 66, 120),
        control(L"Spin2", V::IDC_ZOOM_SPIN, L"msctls_updown32", UDS_HORZ | UDS_ARROWKEYS, 73, 38, 11, 12),
        control(L"Show ECG signal", V::IDC_SHOW_ECG, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 5, 56, 80, 10),
        label(L"\u00A4Show ECG-box for:", IDC_STATIC, 5, 72, 80, 8),
        control(L"", V::IDC_ECG_BOX, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 5, 82, 80, 120),
        control(L"", V::IDC_VIEW_LIST, L"LISTBOX",
                LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 5, 100, 80,
                106),
        defPushButton(L"\u00A4Close", IDOK, 5, 212, 80, 14),
        pushButton(L"\u00A4Help", ChildDialog::ID_HELP, 5, 230, 80, 14),
        cancel,
    };
    return table;
}

int registeredTemplate()
{
    if (!DialogRegistry::find(sessionManagerMultiView::TEMPLATE_ID))
        DialogRegistry::add(surveillanceTable());
    return sessionManagerMultiView::TEMPLATE_ID;
}

SurveillanceTile* tileOf(const QListWidgetItem* item)
{
    return reinterpret_cast<SurveillanceTile*>(item->data(Qt::UserRole).value<quintptr>());
}

} // namespace

sessionManagerMultiView::sessionManagerMultiView()
    : ChildDialog(registeredTemplate()), readout_(new HoverHintStatic(this)), windowLength_(ZoomWindows::DEFAULT_MS)
{
    readout_->hide();
    connect(&timer_, &QTimer::timeout, this, &sessionManagerMultiView::onTimer);
}

sessionManagerMultiView::~sessionManagerMultiView()
{
    // The tiles' windows go before the dialog's own children.
    viewList_.clear();
}

int sessionManagerMultiView::windowIndexes(int milliseconds, double currentFreq)
{
    return ZoomWindows::windowIndexes(milliseconds, currentFreq);
}

bool sessionManagerMultiView::create(QWidget* parent)
{
    const bool created = ChildDialog::create(parent);
    if (created && !timer_.isActive())
        timer_.start(RATE_REFRESH_MS);
    return created;
}

void sessionManagerMultiView::help() { platform::showHelpTopic(HELP_TOPIC); }

bool sessionManagerMultiView::onInitDialog()
{
    const bool result = ChildDialog::onInitDialog();
    for (const int id : {IDOK, ID_HELP, IDCANCEL})
        RoundButton::attach(this, id);
    ecgBoxList_ = qobject_cast<QComboBox*>(getDlgItem(IDC_ECG_BOX));
    zoomSpin_ = qobject_cast<QSpinBox*>(getDlgItem(IDC_ZOOM_SPIN));
    zoomList_ = qobject_cast<QComboBox*>(getDlgItem(IDC_ZOOM));
    viewListCtrl_ = qobject_cast<QListWidget*>(getDlgItem(IDC_VIEW_LIST));
    KOVA_ASSERT(ecgBoxList_ && zoomSpin_ && zoomList_ && viewListCtrl_);
    if (!ecgBoxList_ || !zoomSpin_ || !zoomList_ || !viewListCtrl_)
        return result;

    checkDlgButton(IDC_SHOW_ECG, Configuration::instance().getPropertyModel().ecgEnabled);
    ZoomCombo::fill(*zoomList_, zoomSpin_, windowLength_);
    fillLists();
    readout_->attach(this);
    readout_->setText(QString());

    for (const auto& tile : viewList_) {
        const bool created = tile->create(this, readout_);
        KOVA_ASSERT(created);
    }
    const QRect list = viewListCtrl_->geometry();
    tileAreaLeft_ = list.right() + 1 + list.left() + 5;

    for (const auto& tile : viewList_)
        tile->catchUp();
    ToolTipAnswer::enable(this);

    connect(viewListCtrl_, &QListWidget::itemChanged, this, [this] { onViewListChanged(); });
    connect(zoomList_, &QComboBox::currentIndexChanged, this, [this] { onZoomSelected(); });
    connect(zoomSpin_, &QSpinBox::valueChanged, this, [this](int position) { onZoomSpin(position); });
    connect(ecgBoxList_, &QComboBox::currentIndexChanged, this, [this] { onEcgBoxSelected(); });
    notifier().on(IDC_SHOW_ECG, Notification::Clicked, [this] { onShowEcgClicked(); });
    initialised_ = true;
    {
        const QSignalBlocker quiet(ecgBoxList_);
        ecgBoxList_->setCurrentIndex(0);
    }
    layoutClient();
    return result;
}

void sessionManagerMultiView::onSize(int cx, int cy)
{
    ChildDialog::onSize(cx, cy);
    if (initialised_)
        layoutTiles(cx, cy);
}

void sessionManagerMultiView::layoutClient() { layoutTiles(width(), height()); }

void sessionManagerMultiView::addSession(Session* session)
{
    KOVA_ASSERT(session!=0);
    if (!session)
        return;
    viewList_.push_back(std::make_unique<SurveillanceTile>(*session, windowLength_, isDlgButtonChecked(IDC_SHOW_ECG)));
    if (!isCreated())
        return;
    SurveillanceTile& tile = *viewList_.back();
    const bool created = tile.create(this, readout_);
    KOVA_ASSERT(created);
    fillLists();
    if (const int milliseconds = ZoomCombo::selectedMilliseconds(*zoomList_))
        tile.setViewWindow(milliseconds);
    tile.catchUp();
    layoutClient();
}

void sessionManagerMultiView::removeSession(Session* session)
{
    const auto i = std::find_if(viewList_.begin(), viewList_.end(),
                                [session](const auto& tile) { return &tile->getSession() == session; });
    KOVA_ASSERT(i!=viewList_.end());
    if (i == viewList_.end())
        return;
    viewList_.erase(i);
    if (!isCreated())
        return;
    fillLists();
    layoutClient();
}

void sessionManagerMultiView::fillLists()
{
    fillViewList();
    fillEcgBoxList();
}

void sessionManagerMultiView::fillViewList()
{
    KOVA_ASSERT(viewListCtrl_ != nullptr);
    if (!viewListCtrl_)
        return;
    const QSignalBlocker quiet(viewListCtrl_);
    viewListCtrl_->clear();
    for (const auto& tile : viewList_) {
        auto* item = new QListWidgetItem(QString::fromStdString(tile->getSession().getTitle()), viewListCtrl_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(tile->shown ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(tile.get())));
    }
}

std::vector<SurveillanceTile*> sessionManagerMultiView::ecgCapableTiles() const
{
    std::vector<SurveillanceTile*> tiles;
    for (const auto& tile : viewList_)
        if (tile->isEcgCapable())
            tiles.push_back(tile.get());
    return tiles;
}

void sessionManagerMultiView::fillEcgBoxList()
{
    if (!ecgBoxList_)
        return;
    const QSignalBlocker quiet(ecgBoxList_);
    ecgBoxList_->clear();
    ecgBoxList_->addItem(QString::fromWCharArray(NO_ECG_BOX));
    int selected = 0;
    int number = 0;
    for (SurveillanceTile* tile : ecgCapableTiles()) {
        ++number;
        Session& session = tile->getSession();
        ecgBoxList_->addItem(QString::fromStdString(session.getTitle()));
        // The entry of a collecting session whose panel is open stays chosen;
        // chosen by its place in the list, so "Session 1" never picks "Session 10".
        if (session.getState() == Session::COLLECT && session.windows().isEcgPanelVisible())
            selected = number;
    }
    ecgBoxList_->setCurrentIndex(selected);
}

void sessionManagerMultiView::layoutTiles(int width, int height)
{
    std::vector<SurveillanceLayout::Tile> tiles;
    const bool showEcg = isDlgButtonChecked(IDC_SHOW_ECG);
    for (const auto& tile : viewList_) {
        if (tile->shown)
            tile->ecg = showEcg;
        tiles.push_back({tile->shown, tile->isEcgCapable(), tile->ecg});
    }
    const auto plans = SurveillanceLayout::plan(tiles, width, height, tileAreaLeft_, SurveillanceTile::labelHeight(),
                                                AxisCtrl::axisFontHeight());
    for (std::size_t i = 0; i < viewList_.size(); ++i) {
        SurveillanceTile& tile = *viewList_[i];
        if (plans[i].geometry)
            tile.place(*plans[i].geometry);
        tile.showWindows(plans[i].visible, plans[i].ecgVisible);
    }
}

void sessionManagerMultiView::onTimer()
{
    for (const auto& tile : viewList_)
        tile->updateRate();
}

void sessionManagerMultiView::onViewListChanged()
{
    bool changed = false;
    for (int row = 0; row < viewListCtrl_->count(); ++row) {
        const QListWidgetItem* item = viewListCtrl_->item(row);
        SurveillanceTile* tile = tileOf(item);
        const bool shown = item->checkState() == Qt::Checked;
        if (tile && tile->shown != shown) {
            tile->shown = shown;
            changed = true;
        }
    }
    if (changed)
        layoutClient();
}

void sessionManagerMultiView::onShowEcgClicked()
{
    const bool on = isDlgButtonChecked(IDC_SHOW_ECG);
    for (const auto& tile : viewList_) {
        tile->ecg = on;
        if (!on)
            tile->hideEcgPane();
    }
    layoutClient();
}

void sessionManagerMultiView::onZoomSelected()
{
    const int index = zoomList_->currentIndex();
    if (index < 0)
        return;
    const int milliseconds = ZoomCombo::selectedMilliseconds(*zoomList_);
    windowLength_ = milliseconds;
    for (const auto& tile : viewList_)
        tile->setViewWindow(milliseconds);
    ZoomCombo::select(*zoomList_, zoomSpin_, index);
}

void sessionManagerMultiView::onZoomSpin(int position)
{
    ZoomCombo::select(*zoomList_, zoomSpin_, position);
    onZoomSelected();
}

void sessionManagerMultiView::onEcgBoxSelected()
{
    const int selected = ecgBoxList_->currentIndex();
    int number = 0;
    for (SurveillanceTile* tile : ecgCapableTiles()) {
        ++number;
        tile->getSession().windows().showEcgPanel(number == selected);
    }
}
