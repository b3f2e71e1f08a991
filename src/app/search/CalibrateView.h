#pragma once
// The "Search for Manikins" window: looks for manikins on the COM ports or
// the network, lists every port that answered with its state, and
// calibrates the checked ports. It lives in the application's search frame
// (opened at start-up, by the Calibrate command and by "Add new Manikin"),
// or runs as the modal "Communication" window of the configuration page that
// looks for controllers. Compact, it shows only the interface buttons and
// the status line; expanded, the whole dialog.

#include "Rodezir/SlotHolder.h"
#include "app/shell/ChildDialog.h"
#include "app/shell/MainWindowLock.h"
#include "comm/link/PortNumbers.h"

#include <QPointer>

#include <array>
#include <vector>

class CalibrateManager;
struct PortLine;
class QListWidget;
class QListWidgetItem;

namespace kova {
class AnimateCtrl;
class DialogTemplate;
}

class CalibrateView : public ChildDialog, public SlotHolder {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 150;
    static constexpr int IDC_USB = 1075;
    static constexpr int IDC_WLAN = 1407;
    static constexpr int IDC_PORT_LIST = 1066;
    static constexpr int IDC_STATUS = 1073;
    static constexpr int IDC_ANIMATION = 1070;
    static constexpr int IDC_CALIBRATE = 1; // IDOK
    static constexpr int IDC_CLOSE = 2;     // IDCANCEL
    static constexpr int ANIMATION_ID = 156;
    static constexpr int HELP_TOPIC = 10000;
    // The compact window ends this many pixels below the top of the animation.
    static constexpr int COMPACT_MARGIN = 2;

    enum class Mode { Hosted, Modal };

    // Searches the COM ports ("USB"), compact. A modal view is built as a
    // pop-up captioned "Communication".
    explicit CalibrateView(Mode mode = Mode::Hosted);
    ~CalibrateView() override;

    // Builds the hosted dialog inside its frame.
    bool create(QWidget* parent) override;
    // Runs a modal view over `parent` until it is closed; true only when it
    // ended with OK (its OK button calibrates and keeps it open).
    bool runModal(QWidget* parent);

    // Expanded shows the whole dialog; compact only its top. A hosted view
    // sizes its frame with it, and brings a visible frame forward when it
    // grows; a hidden frame stays hidden.
    void setExpanded(bool expanded);
    bool isExpanded() const { return expanded_; }

    // The search the application runs when it opens the window at start-up
    // (compact): search the COM ports, calibrate every port that needs it,
    // then close the window when a manikin is ready, else expand it with
    // "No ports are calibrated". Answers whether the calibration failed.
    bool startupSearch();

    // Searches with the current interface; the number of ports that answered.
    int search();
    // Calibrates the checked ports (the OK button).
    void calibrate();
    // Clears the status, hides the frame (or ends the modal run) and runs
    // the application's New-session command when a manikin is ready (Close,
    // Escape).
    void closeView();

    // Lists every port of the current interface again; the number of ports that answered.
    int refreshPortList();

    bool isUsbInterface() const { return usb_; }
    bool isModal() const { return modal_; }
    bool calibrationError() const { return calibrationError_; }
    QSize expandedSize() const { return expandedSize_; }
    QSize compactSize() const { return compactSize_; }
    // The port a list line stands for; -1 beyond the list.
    int portAt(int row) const;
    // The line of a port; -1 when it is not listed.
    int rowOf(int port) const;

    // Makes the configuration pages' calibration window a modal view.
    static void installAsCalibrationWindow();
    // Puts dialog 150 into the dialog registry (done by the constructor when missing).
    static void registerTemplate();
    static kova::DialogTemplate modalTemplate();

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;
    void help() override;
    void showEvent(QShowEvent* event) override;

private:
    CalibrateManager& manager() const;
    void onPortsChanged();
    void searchPosted();
    void chooseInterface(bool usb);
    int searchComPorts();
    int searchWireless();
    void beginBusy(bool waitCursor);
    void endBusy(bool waitCursor);
    void enableMainWindow(bool enable);
    void setStatus(const std::wstring& text);
    void updateCalibrateButton();
    void focusInterfaceButton();
    std::vector<int> checkedPorts() const;
    QListWidget* portList() const;
    QListWidgetItem* addLine(int port, const PortLine& line);

    bool expanded_ = false;
    bool modal_ = false;
    bool usb_ = true;
    bool calibrationError_ = false;
    QSize expandedSize_;
    QSize compactSize_;
    QPointer<kova::AnimateCtrl> animation_;
    std::vector<int> rowToPort_;
    std::array<int, COM_PORTS + 1> portToRow_{};
    MainWindowLock busyLock_;
};
