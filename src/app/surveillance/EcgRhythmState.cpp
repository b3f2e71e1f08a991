#include "app/surveillance/EcgRhythmState.h"

#include "Rodezir/LogStream.h"
#include "comm/link/SerialPort.h"

namespace {

using Button = EcgRhythmState::Button;

// Levels the manikin reports when its battery cannot drive the pulse.
constexpr int BATTERY_EMPTY = 0;
constexpr int BATTERY_EXHAUSTED = 10;

} // namespace

const std::array<Button, EcgRhythmState::BUTTON_COUNT>& EcgRhythmState::buttons()
{
    static const std::array<Button, BUTTON_COUNT> table{{
        {1441, 1442, 1470, "NORMAL SINUS", 1},
        {1443, 1476, 1477, "VENTR. TACH.", 2},
        {1444, 1478, 1479, "VF COARSE", 3},
        {1445, 1480, 1481, "VF FINE", 4},
        {1446, 1482, 1483, "ASYST.", 5},
        {1447, 1484, 1485, "IDIOV RHYTHM", 6},
        {1448, 1486, 1487, "SINUS TACH.", 7},
        {1449, 1488, 1489, "SINUS BRAD.", 8},
        {1450, 1490, 1491, "ATR. FLUTTER", 9},
        {1451, 1492, 1493, "ATR.FIB. SLOW", 10},
        {1452, 1494, 1495, "ATR.FIB. FAST", 11},
        {1453, 1496, 1497, "SVT", 12},
        {1454, 1498, 1499, "1 AV BLOCK", 13},
        {1455, 1500, 1501, "2 AV BLOCK I", 14},
        {1456, 1502, 1503, "2 AV BLOCK II", 15},
        {1457, 1504, 1505, "3 AV BLOCK", 16},
        {1458, 1506, 1507, "JUNCT. RYTHM", 17},
        {1459, 1508, 1509, "TORSADE DE PNT.", 18},
        {1460, 1510, 1511, "PAC", 19},
        {1461, 1512, 1513, "UNIF. PAC", 20},
        {1462, 1514, 1515, "MULTIF. PAC", 21},
        {1463, 1516, 1517, "COUPL. PVC", 22},
        {1464, 1518, 1519, "R-ON-T PHENOM.", 23},
        {1465, 1520, 1521, "ST- ELEV-", 24},
        {1466, 1522, 1523, "ST- DEPR.", 25},
        {1467, 1524, 1525, "VVI- PACEM.", 26},
        {ID_MUSCLE_TREMOR, 1526, 1527, "MUSCL. TREMOR", 0},
        {ID_LOOSE_ELECTRODES, 1528, 1529, "LOOSE ELECTR.", 0},
        {ID_NO_DEFIBRILLATION_EFFECT, 1530, 1531, "NO DEFI. EFFECT", 0},
        {ID_PULSE, 1532, 1533, "PULSE ON/OFF", 0},
        {ID_SWOP_RHYTHMS, 1534, 1535, "SWOP RHYTHMS", 0},
        {ID_CHANGE_RHYTHM, 1536, 1537, "CHANGE RHYTHM", 0},
    }};
    return table;
}

int EcgRhythmState::rhythmButtonId(int rhythm)
{
    if (rhythm < 1 || rhythm > RHYTHM_COUNT)
        return 0;
    // 1442 is the first label line of rhythm 1, so rhythm 2 starts at 1443.
    return rhythm == 1 ? 1441 : 1441 + rhythm;
}

int EcgRhythmState::rhythmOfButton(int buttonId)
{
    if (buttonId == 1441)
        return 1;
    const int rhythm = buttonId - 1441;
    return rhythm >= 2 && rhythm <= RHYTHM_COUNT ? rhythm : 0;
}

EcgRhythmState::EcgRhythmState(SerialPort* port)
    : port_(port)
{
    for (const Button& button : buttons())
        pictures_[button.id] = PICTURE_NORMAL;
    pictures_[ID_SWOP_RHYTHMS] = PICTURE_NONE;
    pictures_[ID_CHANGE_RHYTHM] = PICTURE_NONE;
    pictures_[rhythmButtonId(currentRhythm_)] = PICTURE_SELECTED;
}

void EcgRhythmState::click(int buttonId)
{
    if (const int rhythm = rhythmOfButton(buttonId)) {
        selectRhythm(rhythm);
        return;
    }
    switch (buttonId) {
    case ID_SWOP_RHYTHMS:
        swapRhythms();
        break;
    case ID_CHANGE_RHYTHM:
        changeRhythm();
        break;
    case ID_PULSE:
        togglePulse();
        break;
    case ID_NO_DEFIBRILLATION_EFFECT:
        toggleDefibrillationEffect();
        break;
    case ID_MUSCLE_TREMOR:
        toggleMuscleTremor();
        break;
    case ID_LOOSE_ELECTRODES:
        toggleLooseElectrodes();
        break;
    default:
        break;
    }
}

void EcgRhythmState::selectRhythm(int rhythm)
{
    const bool inRange = rhythm >= 1 && rhythm <= RHYTHM_COUNT;
    KOVA_ASSERT(inRange);
    if (!inRange || rhythm == currentRhythm_)
        return;
    if (nextRhythm_ != currentRhythm_)
        setPicture(rhythmButtonId(nextRhythm_), PICTURE_NORMAL);
    nextRhythm_ = rhythm;
    setPicture(rhythmButtonId(nextRhythm_), PICTURE_SELECTED);
    sendRhythms(currentRhythm_, nextRhythm_);
}

void EcgRhythmState::swapRhythms()
{
    // With no other rhythm chosen there is nothing to swap, and the manikin
    // need not hear its rhythms again.
    if (nextRhythm_ == currentRhythm_)
        return;
    std::swap(currentRhythm_, nextRhythm_);
    sendRhythms(currentRhythm_, nextRhythm_);
    refreshRhythmPictures();
}

void EcgRhythmState::changeRhythm()
{
    currentRhythm_ = nextRhythm_;
    sendRhythms(nextRhythm_, nextRhythm_);
    refreshRhythmPictures();
}

void EcgRhythmState::togglePulse()
{
    if (!port_)
        return;
    if (port_->getPulseOn()) {
        port_->setPulseOn(false);
        port_->setPulse(false);
        setPicture(ID_PULSE, PICTURE_NORMAL);
        pulseShownOn_ = false;
        return;
    }
    if (batteryIsEmpty())
        return;
    port_->setPulseOn(true);
    port_->setPulse(true);
    setPicture(ID_PULSE, PICTURE_ACTIVE);
    pulseShownOn_ = true;
}

void EcgRhythmState::toggleDefibrillationEffect()
{
    if (!port_)
        return;
    // The option reads "no effect": it is shown active while a
    // defibrillation does nothing.
    if (port_->getDefibrillationEffect() == 0) {
        port_->setDefibrillationEffect(1);
        setPicture(ID_NO_DEFIBRILLATION_EFFECT, PICTURE_NORMAL);
    } else {
        port_->setDefibrillationEffect(0);
        setPicture(ID_NO_DEFIBRILLATION_EFFECT, PICTURE_ACTIVE);
    }
}

void EcgRhythmState::toggleMuscleTremor()
{
    muscleTremor_ = !muscleTremor_;
    setPicture(ID_MUSCLE_TREMOR, muscleTremor_ ? PICTURE_ACTIVE : PICTURE_NORMAL);
    if (port_)
        port_->setEcgArtefacts(static_cast<std::uint8_t>(artefactBits()));
}

void EcgRhythmState::toggleLooseElectrodes()
{
    looseElectrodes_ = !looseElectrodes_;
    setPicture(ID_LOOSE_ELECTRODES, looseElectrodes_ ? PICTURE_ACTIVE : PICTURE_NORMAL);
    if (port_)
        port_->setEcgArtefacts(static_cast<std::uint8_t>(artefactBits()));
}

void EcgRhythmState::sendToManikin()
{
    if (!port_)
        return;
    sendRhythms(currentRhythm_, nextRhythm_);
    port_->setEcgArtefacts(static_cast<std::uint8_t>(artefactBits()));
}

void EcgRhythmState::tick()
{
    if (port_) {
        ++timerTicks_;
        if (timerTicks_ % KEEP_ALIVE_TICKS == 0)
            port_->sendCommand32();
        if (batteryIsEmpty() && pulseShownOn_) {
            setPicture(ID_PULSE, PICTURE_NORMAL);
            pulseShownOn_ = false;
        }
    }
    const int next = rhythmButtonId(nextRhythm_);
    if (blinkPhase_ && nextRhythm_ != currentRhythm_) {
        setPicture(next, PICTURE_NORMAL);
        blinkPhase_ = false;
    } else {
        setPicture(next, PICTURE_SELECTED);
        blinkPhase_ = true;
    }
}

bool EcgRhythmState::checkRhythmSwitch(int sampleIndex)
{
    if (!port_ || sampleIndex <= lastSwitchIndex_)
        return false;
    lastSwitchIndex_ = sampleIndex;
    if (nextRhythm_ == currentRhythm_ || port_->getDefibrillationEffect() == 0)
        return false;
    std::swap(currentRhythm_, nextRhythm_);
    refreshRhythmPictures();
    return true;
}

int EcgRhythmState::artefactBits() const
{
    return (muscleTremor_ ? ARTEFACT_MUSCLE_TREMOR : 0) | (looseElectrodes_ ? ARTEFACT_LOOSE_ELECTRODES : 0);
}

int EcgRhythmState::pictureOf(int buttonId) const
{
    const auto at = pictures_.find(buttonId);
    return at == pictures_.end() ? 0 : at->second;
}

void EcgRhythmState::setPicture(int buttonId, int picture)
{
    pictures_[buttonId] = picture;
    pictureChanged.notify(buttonId);
}

void EcgRhythmState::refreshRhythmPictures()
{
    for (int rhythm = 1; rhythm <= RHYTHM_COUNT; ++rhythm)
        setPicture(rhythmButtonId(rhythm), rhythm == currentRhythm_ ? PICTURE_SELECTED : PICTURE_NORMAL);
    // The next rhythm's blink starts again with the next tick, which shows it selected.
    blinkPhase_ = false;
}

bool EcgRhythmState::batteryIsEmpty() const
{
    const int level = port_ ? port_->getBatteryLevel() : SerialPort::NO_BATTERY_LEVEL;
    return level == BATTERY_EMPTY || level == BATTERY_EXHAUSTED;
}

void EcgRhythmState::sendRhythms(int current, int next)
{
    if (port_)
        port_->setEcgRhythms(static_cast<std::uint8_t>(current), static_cast<std::uint8_t>(next));
}
