#pragma once
// The small floating window with which the instructor drives the simulated
// ECG of an ECG-capable manikin: 26 rhythm buttons, four options and two
// commands, each a lamp with its two caption lines. It shows and forwards to
// an EcgRhythmState; its 500 ms timer steps that state.
//
// The live graph panel owns one per session: it makes it hidden with the
// session's manikin port and a title, shows and hides it with its "ECG BOX"
// button (toggleVisible, hide, isVisible), and calls sendToManikin on its
// first Start and when its ECG signal switch is checked. The session's
// windows pass on checkRhythmSwitch for each ECG sample that carries the
// defibrillation mark (the owner must not ask from its ECG pane's drawing).

#include "Rodezir/SlotHolder.h"
#include "Rodezir/dialogs/TemplateDialog.h"
#include "app/surveillance/EcgRhythmState.h"

#include <QFont>
#include <QPixmap>
#include <QTimer>

#include <map>
#include <memory>
#include <string>

class QLabel;
class SerialPort;

class EcgRhythmPanel : public kova::TemplateDialog, public SlotHolder {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 294;
    // The background picture filling the panel.
    static constexpr int ID_BACKGROUND = 1440;
    // The panel's blue, RGB(0x00, 0x93, 0xD6).
    static constexpr unsigned BACKGROUND_RGB = 0x0093D6;

    // Built hidden, without a parent window, with its timer running. `port`:
    // the manikin port of a live session, null for a stored one.
    EcgRhythmPanel(SerialPort* port, const std::wstring& title);
    ~EcgRhythmPanel() override;

    // Shows the panel; hides it when it was visible already.
    void toggleVisible();
    // Tells the manikin the current and next rhythm and the artefacts.
    void sendToManikin();
    // The defibrillation mark on an ECG sample (see EcgRhythmState).
    bool checkRhythmSwitch(int sampleIndex);

    EcgRhythmState& state() { return *state_; }
    // One 500 ms tick, as the timer runs it.
    void onTimer();
    const QTimer& timer() const { return timer_; }

    static void registerTemplate();

protected:
    bool onInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPicture(int buttonId);
    const QPixmap& picture(int resourceId);

    std::unique_ptr<EcgRhythmState> state_;
    QFont labelFont_;
    QTimer timer_;
    std::map<int, QPixmap> pictures_;
    std::map<QObject*, int> buttonOf_;
    QObject* lastPressed_ = nullptr;
    quint64 lastPressTime_ = 0;
};
