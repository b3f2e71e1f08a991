#include "app/search/CalibrateView.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogRegistry.h"
#include "app/search/AppCommands.h"
#include "app/search/CalibrationRun.h"
#include "app/search/PortLine.h"
#include "app/shell/ChildFrame.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/link/SerialPort.h"
#include "controls/AnimateCtrl.h"
#include "controls/RoundButton.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"
#include "propertyPage/ConfigSeams.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QSignalBlocker>

using namespace kova;

namespace {

const wchar_t* const MARK = L"\u00A4";

std::wstring marked(const wchar_t* text)
{
    return std::wstring(MARK) + text;
}

// The interface buttons and the status line on top (all a compact window
// shows), the animation, the list of ports and the buttons below.
DialogTable calibrateTable()
{
    constexpr std::uint32_t ANIMATION_STYLE = ACS_CENTER | ACS_TRANSPARENT;
    constexpr std::uint32_t LIST_STYLE = LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
    DialogTable table;
    table.id = CalibrateView::TEMPLATE_ID;
    table.style = WS_CHILD | DS_CONTROL | DS_SETFONT;
    table.cx = 216;
    table.cy = 216;
    table.controls = {
        label(L"Look for manikins - choose interface:", IDC_STATIC, 7, 7, 202, 9),
        pushButton(marked(L"USB"), CalibrateView::IDC_USB, 7, 19, 72, 16),
        pushButton(L"WLAN / LAN", CalibrateView::IDC_WLAN, 85, 19, 72, 16),
        label(L"", CalibrateView::IDC_STATUS, 7, 41, 202, 18),
        control(L"", CalibrateView::IDC_ANIMATION, L"SysAnimate32", ANIMATION_STYLE, 7, 62, 202, 26),
        label(marked(L"Available ports"), IDC_STATIC, 7, 92, 202, 9),
        control(L"", CalibrateView::IDC_PORT_LIST, L"LISTBOX", LIST_STYLE, 7, 102, 202, 88),
        defPushButton(marked(L"Calibrate selected manikins"), CalibrateView::IDC_CALIBRATE, 7, 194, 100, 16),
        pushButton(marked(L"Close"), CalibrateView::IDC_CLOSE, 113, 194, 46, 16),
        pushButton(marked(L"Help"), ChildDialog::ID_HELP, 163, 194, 46, 16),
    };
    return table;
}

DialogTemplate templateFor(CalibrateView::Mode mode)
{
    AnimateCtrl::registerWindowClass();
    if (mode == CalibrateView::Mode::Modal)
        return CalibrateView::modalTemplate();
    if (!DialogRegistry::find(CalibrateView::TEMPLATE_ID))
        CalibrateView::registerTemplate();
    return DialogTemplate(CalibrateView::TEMPLATE_ID);
}

// The configuration pages' window that looks for controllers.
class ModalCalibrationWindow final : public configseams::CalibrationWindow {
public:
    void setExpanded(bool expanded) override { expanded_ = expanded; }
    bool runModal(QWidget* parent) override
    {
        CalibrateView view(CalibrateView::Mode::Modal);
        view.setExpanded(expanded_);
        return view.runModal(parent);
    }

private:
    bool expanded_ = false;
};

std::wstring translated(const char* text)
{
    return Gettext::translate(text);
}

} // namespace

void CalibrateView::registerTemplate() { DialogRegistry::add(calibrateTable()); }

DialogTemplate CalibrateView::modalTemplate()
{
    if (!DialogRegistry::find(TEMPLATE_ID))
        registerTemplate();
    DialogTemplate modal(TEMPLATE_ID);
    modal.setStyle(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT);
    modal.setCaption(translated("Communication"));
    return modal;
}

CalibrateView::CalibrateView(Mode mode) : ChildDialog(templateFor(mode)), modal_(mode == Mode::Modal)
{
    portToRow_.fill(-1);
}

CalibrateView::~CalibrateView() = default;

void CalibrateView::installAsCalibrationWindow()
{
    configseams::setCalibrationWindowFactory([] { return std::make_unique<ModalCalibrationWindow>(); });
}

CalibrateManager& CalibrateView::manager() const { return CalibrateManager::get(); }

bool CalibrateView::create(QWidget* parent)
{
    usb_ = true;
    return ChildDialog::create(parent);
}

bool CalibrateView::runModal(QWidget* parent)
{
    KOVA_ASSERT(modal_);
    if (!modal_)
        return false;
    setParent(parent, Qt::Dialog);
    return doModal() == QDialog::Accepted;
}

bool CalibrateView::onInitDialog()
{
    ChildDialog::onInitDialog();
    for (const int id : {ID_HELP, IDC_USB, IDC_WLAN, IDC_CLOSE, IDC_CALIBRATE})
        RoundButton::attach(this, id);
    if (auto* calibrate = qobject_cast<QPushButton*>(getDlgItem(IDC_CALIBRATE)))
        calibrate->setDefault(true);

    animation_ = qobject_cast<AnimateCtrl*>(getDlgItem(IDC_ANIMATION));
    const bool animationOpened = animation_ && animation_->open(ANIMATION_ID);
    KOVA_ASSERT(animationOpened);
    setDlgItemText(IDC_CLOSE, QString::fromStdWString(translated("Cancel")));
    if (auto* status = qobject_cast<QLabel*>(getDlgItem(IDC_STATUS)))
        status->setWordWrap(true);

    notifier().on(IDC_USB, Notification::Clicked, [this] { chooseInterface(true); });
    notifier().on(IDC_WLAN, Notification::Clicked, [this] { chooseInterface(false); });
    notifier().on(IDC_PORT_LIST, Notification::SelectionChanged, [this] { updateCalibrateButton(); });
    if (QListWidget* list = portList())
        QObject::connect(list, &QListWidget::itemChanged, this, [this] { updateCalibrateButton(); });
    ::connect(manager().changed, *this, &CalibrateView::onPortsChanged);

    expandedSize_ = size();
    const QWidget* animation = getDlgItem(IDC_ANIMATION);
    compactSize_ = QSize(expandedSize_.width(), (animation ? animation->geometry().top() : 0) + COMPACT_MARGIN);
    const QSize initial = expanded_ ? expandedSize_ : compactSize_;
    if (modal_)
        setFixedSize(initial);
    else
        resize(initial);
    updateCalibrateButton();
    focusInterfaceButton();
    return true;
}

void CalibrateView::onOK() { calibrate(); }

void CalibrateView::onCancel() { closeView(); }

void CalibrateView::help() { configseams::showHelpTopic(HELP_TOPIC); }

void CalibrateView::showEvent(QShowEvent* event)
{
    ChildDialog::showEvent(event);
    // Shown expanded (the Calibrate command, or the configuration page's
    // window): search as soon as the window is up.
    if (expanded_)
        QMetaObject::invokeMethod(this, &CalibrateView::searchPosted, Qt::QueuedConnection);
}

void CalibrateView::searchPosted()
{
    if (isVisible())
        search();
}

void CalibrateView::onPortsChanged()
{
    if (isCreated())
        refreshPortList();
}

QListWidget* CalibrateView::portList() const { return qobject_cast<QListWidget*>(getDlgItem(IDC_PORT_LIST)); }

int CalibrateView::portAt(int row) const
{
    return row >= 0 && row < static_cast<int>(rowToPort_.size()) ? rowToPort_[static_cast<std::size_t>(row)] : -1;
}

int CalibrateView::rowOf(int port) const
{
    return port >= 0 && port <= COM_PORTS ? portToRow_[static_cast<std::size_t>(port)] : -1;
}

void CalibrateView::focusInterfaceButton()
{
    if (QWidget* button = getDlgItem(usb_ ? IDC_USB : IDC_WLAN))
        button->setFocus(Qt::OtherFocusReason);
}

void CalibrateView::setExpanded(bool expanded)
{
    const bool wasExpanded = expanded_;
    expanded_ = expanded;
    focusInterfaceButton();
    if (!isCreated())
        return;
    const QSize target = expanded ? expandedSize_ : compactSize_;
    ChildFrame* frame = modal_ ? nullptr : parentFrame();
    if (frame) {
        const QSize frameSize = frame->frameSizeFor(target);
        if (frame->resizable)
            frame->resize(frameSize);
        else
            frame->setFixedSize(frameSize);
        // Growing brings the window forward, but a hidden window stays hidden:
        // the start-up search may have closed it already, and showing it
        // again would start a second search over the New-session window.
        if (expanded && !wasExpanded && frame->isVisible())
            frame->showFrame();
    }
    if (modal_)
        setFixedSize(target);
    else
        resize(target);
}

void CalibrateView::chooseInterface(bool usb)
{
    usb_ = usb;
    search();
    focusInterfaceButton();
}

void CalibrateView::setStatus(const std::wstring& text)
{
    QString shown = QString::fromStdWString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setDlgItemText(IDC_STATUS, shown);
    // The searches and calibrations keep the event loop waiting: paint now.
    if (QWidget* status = getDlgItem(IDC_STATUS); status && status->isVisible())
        status->repaint();
}

void CalibrateView::enableMainWindow(bool enable)
{
    if (modal_)
        return;
    if (AppCommands::enableMainWindow(enable))
        return;
    // Without the application's own switch, the view keeps the instructor
    // away from the rest of its main window itself.
    if (enable) {
        busyLock_.unlock();
        return;
    }
    ChildFrame* frame = parentFrame();
    if (auto* main = frame ? qobject_cast<QMainWindow*>(frame->window()) : nullptr)
        busyLock_.lock(*main, frame);
}

void CalibrateView::beginBusy(bool waitCursor)
{
    if (animation_)
        animation_->play(0, -1, 100000);
    enableMainWindow(false);
    if (waitCursor)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CalibrateView::endBusy(bool waitCursor)
{
    enableMainWindow(true);
    if (animation_) {
        animation_->stop();
        animation_->seek(0);
    }
    if (waitCursor)
        QApplication::restoreOverrideCursor();
}

int CalibrateView::search()
{
    beginBusy(false);
    int count = 0;
    if (usb_)
        count = searchComPorts();
    else
        count = searchWireless();
    endBusy(false);
    return count;
}

int CalibrateView::searchComPorts()
{
    setStatus(translated("Searching for COM ports..."));
    int count = 0;
    for (;;) {
        manager().scanComPorts();
        count = refreshPortList();
        if (count > 0)
            break;
        const int answer = platform::messageBox(
            translated("No COM ports are available! If a port is used by another application, close the application and "
               "select 'Retry'."),
            translated("Calibration Error"), platform::MB_RETRYCANCEL | platform::MB_ICONERROR);
        setExpanded(true);
        if (answer != platform::IDRETRY)
            break;
    }
    setStatus(translated("Ready to calibrate"));
    return count;
}

int CalibrateView::searchWireless()
{
    setStatus(translated("Searching for Wireless Manikins..."));
    manager().scanWireless();
    const int count = refreshPortList();
    if (count == 0)
        setExpanded(true);
    setStatus(translated("Search finished"));
    return count;
}

QListWidgetItem* CalibrateView::addLine(int port, const PortLine& line)
{
    QListWidget* list = portList();
    auto* item = new QListWidgetItem(QString::fromStdWString(line.text));
    Qt::ItemFlags flags = Qt::ItemIsUserCheckable;
    if (line.enabled)
        flags |= Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    item->setFlags(flags);
    item->setCheckState(line.checked ? Qt::Checked : Qt::Unchecked);
    const int expectedRow = static_cast<int>(rowToPort_.size());
    list->addItem(item);
    KOVA_ASSERT(list->row(item) == expectedRow);
    rowToPort_.push_back(port);
    portToRow_[static_cast<std::size_t>(port)] = list->row(item);
    return item;
}

int CalibrateView::refreshPortList()
{
    QListWidget* list = portList();
    KOVA_ASSERT(list != 0);
    if (!list)
        return 0;
    const QSignalBlocker quiet(list);
    list->clear();
    list->hide();
    rowToPort_.clear();
    portToRow_.fill(-1);

    CalibrateManager& ports = manager();
    auto flagsOf = [&ports](int port) {
        PortLine::Flags flags;
        flags.available = ports.getIsAvailable(port);
        flags.calibrated = ports.getIsCalibrated(port);
        flags.controller = ports.getIsCPB(port);
        if (const SerialPort* link = ports.getSerPort(port))
            flags.lastOpenResult = link->getLastOpenResult();
        return flags;
    };
    int counted = 0;
    const int first = usb_ ? 1 : FIRST_WIRELESS_PORT;
    const int last = usb_ ? LAST_COM_PORT : COM_PORTS;
    for (int port = first; port <= last; ++port) {
        if (!ports.getIsValid(port))
            continue;
        PortLine line;
        if (usb_) {
            line = PortLine::forComPort(port, flagsOf(port));
        } else {
            std::string record(PortLine::NAME_RECORD_SIZE, '\0');
            if (const SerialPort* link = ports.getSerPort(port))
                for (std::size_t i = 0; i < record.size(); ++i)
                    record[i] = link->getManikinNameChar(static_cast<int>(i));
            line = PortLine::forWirelessPort(record, flagsOf(port));
        }
        addLine(port, line);
        if (line.counted)
            ++counted;
    }
    setDlgItemText(IDC_CLOSE, QString::fromStdWString(translated("Close")));
    list->show();
    updateCalibrateButton();
    return counted;
}

std::vector<int> CalibrateView::checkedPorts() const
{
    std::vector<int> ports;
    if (const QListWidget* list = portList())
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->checkState() == Qt::Checked)
                ports.push_back(portAt(row));
    return ports;
}

void CalibrateView::updateCalibrateButton()
{
    if (QWidget* calibrate = getDlgItem(IDC_CALIBRATE))
        calibrate->setEnabled(!checkedPorts().empty());
}

void CalibrateView::calibrate()
{
    beginBusy(true);
    const QListWidget* list = portList();
    if (!list || list->count() == 0) {
        platform::messageBox(translated("There are no com ports to calibrate! "), translated("Calibration Error"),
                             platform::MB_OK | platform::MB_ICONERROR);
        setExpanded(true);
        setStatus(translated("Calibration Error"));
    } else {
        CalibrationRun run(manager());
        run.start(checkedPorts());
        setStatus(translated("Calibrating...\nStay clear of the manikin(s)."));
        run.finish([this] {
            if (animation_)
                animation_->stepNow();
        });
        calibrationError_ = run.hasError();
        if (calibrationError_) {
            platform::messageBox(run.errorText(), translated("Calibration Error"), platform::MB_OK | platform::MB_ICONERROR);
            setExpanded(true);
        }
        setStatus(translated(run.calibratedAny() ? "Calibration done" : "Calibration Error"));
    }
    endBusy(true);
    // This list and the New-session window's manikins follow the new calibration.
    manager().changed.notify();
    focusInterfaceButton();
}

void CalibrateView::closeView()
{
    setStatus(L"");
    if (modal_)
        done(QDialog::Rejected);
    else
        hideFrame();
    if (manager().countReadyManikins() != 0)
        AppCommands::newSession();
}

bool CalibrateView::startupSearch()
{
    if (!expanded_) {
        search();
        calibrate();
        if (manager().countReadyManikins() == 0) {
            setStatus(translated("No ports are calibrated"));
            setExpanded(true);
            repaint();
        }
        // Something became ready: the window goes and New session comes.
        if (!expanded_)
            closeView();
    }
    return calibrationError_;
}
