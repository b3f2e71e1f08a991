#pragma once
// What the ECG rhythm panel shows and tells the manikin, without its window:
// the current and the next of the 26 rhythms, the blink of the next rhythm's
// button, the pulse, the defibrillation effect and the two artefacts, the
// picture of each of its 32 buttons, and the link keep-alive every fourth
// 500 ms tick. Commands go to the SerialPort of the session's manikin, which
// keeps the pulse and defibrillation-effect flags.

#include "Rodezir/Signal.h"

#include <array>
#include <map>

class SerialPort;

class EcgRhythmState {
public:
    static constexpr int RHYTHM_COUNT = 26;
    // The pictures of a button (bitmap resources) and the panel's background.
    static constexpr int PICTURE_NORMAL = 302;   // white dot
    static constexpr int PICTURE_NONE = 303;     // no dot (the two commands)
    static constexpr int PICTURE_SELECTED = 304; // green dot
    static constexpr int PICTURE_ACTIVE = 305;   // amber dot
    static constexpr int BACKGROUND = 297;
    // The option and command buttons.
    static constexpr int ID_SWOP_RHYTHMS = 1468;
    static constexpr int ID_CHANGE_RHYTHM = 1469;
    static constexpr int ID_MUSCLE_TREMOR = 1471;
    static constexpr int ID_LOOSE_ELECTRODES = 1472;
    static constexpr int ID_NO_DEFIBRILLATION_EFFECT = 1473;
    static constexpr int ID_PULSE = 1474;
    // The artefact bits of command 27.
    static constexpr int ARTEFACT_MUSCLE_TREMOR = 1;
    static constexpr int ARTEFACT_LOOSE_ELECTRODES = 2;
    static constexpr int TICK_MS = 500;
    // The keep-alive goes out on every fourth tick.
    static constexpr int KEEP_ALIVE_TICKS = 4;

    // One button with its two label lines and its name, whose two message
    // ids "<name> (LINE 1)" and "<name> (LINE 2)" the catalogs translate into
    // the lines of its caption.
    struct Button {
        int id;
        int line1;
        int line2;
        const char* name;
        // Rhythm 1..26, or 0 for an option or command.
        int rhythm;
    };
    static constexpr int BUTTON_COUNT = 32;
    // The 26 rhythm buttons in rhythm order, then the four options and the two commands.
    static const std::array<Button, BUTTON_COUNT>& buttons();
    // The button of rhythm n (1441, then 1441 + n from rhythm 2 on); 0 outside 1..26.
    static int rhythmButtonId(int rhythm);
    // The rhythm of a button id; 0 when it is no rhythm button.
    static int rhythmOfButton(int buttonId);

    // The panel of a live session drives the manikin through `port`; a
    // stored session has none (nothing is sent and no mark switches rhythms).
    explicit EcgRhythmState(SerialPort* port);
    EcgRhythmState(const EcgRhythmState&) = delete;
    EcgRhythmState& operator=(const EcgRhythmState&) = delete;

    bool isLive() const { return port_ != nullptr; }
    SerialPort* port() const { return port_; }

    // A click on a button of the panel.
    void click(int buttonId);
    // Rhythm n becomes the next rhythm and the manikin is told (current, next);
    // the current rhythm's button does nothing.
    void selectRhythm(int rhythm);
    // Current and next change places; nothing when they are the same.
    void swapRhythms();
    // The next rhythm becomes the current one; the manikin gets (next, next).
    void changeRhythm();
    void togglePulse();
    void toggleDefibrillationEffect();
    void toggleMuscleTremor();
    void toggleLooseElectrodes();
    // Tells the manikin both rhythms, then the artefacts.
    void sendToManikin();
    // One 500 ms tick: the keep-alive, the pulse picture at an empty battery,
    // and the blink of the next rhythm.
    void tick();
    // A sample of the ECG curve carries the defibrillation mark: with the
    // manikin's defibrillation effect on, the next rhythm becomes the current
    // one and the current the next, once per sample (an index at or before
    // the last one handled changes nothing). Nothing is sent: the manikin
    // switched itself. True when the rhythms changed places.
    bool checkRhythmSwitch(int sampleIndex);

    int getCurrentRhythm() const { return currentRhythm_; }
    int getNextRhythm() const { return nextRhythm_; }
    bool getBlinkPhase() const { return blinkPhase_; }
    bool getPulseShownOn() const { return pulseShownOn_; }
    bool getMuscleTremor() const { return muscleTremor_; }
    bool getLooseElectrodes() const { return looseElectrodes_; }
    int getTimerTicks() const { return timerTicks_; }
    int artefactBits() const;
    // The picture a button shows now; 0 for an unknown id.
    int pictureOf(int buttonId) const;

    // A button's picture was set; the window shows it again with its labels.
    Signal<int> pictureChanged;

private:
    void setPicture(int buttonId, int picture);
    void refreshRhythmPictures();
    bool batteryIsEmpty() const;
    void sendRhythms(int current, int next);

    SerialPort* port_;
    int currentRhythm_ = 1;
    int nextRhythm_ = 1;
    bool blinkPhase_ = false;
    bool pulseShownOn_ = false;
    bool muscleTremor_ = false;
    bool looseElectrodes_ = false;
    int timerTicks_ = 0;
    int lastSwitchIndex_ = -1;
    std::map<int, int> pictures_;
};
