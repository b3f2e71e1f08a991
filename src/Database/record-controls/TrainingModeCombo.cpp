#include "Database/record-controls/TrainingModeCombo.h"

#include "Database/TrainingMode.h"
#include "Rodezir/ComboUtil.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/WindowGeometry.h"
#include "gettext/Gettext.h"

#include <QComboBox>

namespace TrainingMode {
namespace {

// Who takes part in a mode.
struct Participants {
    bool enableA = true;
    bool enableB = true;
    bool setA = true;
    bool setB = true;
    bool oneUser = true;
    bool copyAToB = false;
};

Participants participantsOf(int mode)
{
    Participants p;
    switch (mode) {
    case SINGLE_PERSON:
        p.enableB = false;
        p.copyAToB = true;
        break;
    case TWO_PERSON:
        p.oneUser = false;
        break;
    case VENTILATION_ONLY:
        p.enableB = false;
        p.setB = false;
        break;
    case COMPRESSION_ONLY:
        p.enableA = false;
        p.setA = false;
        break;
    default:
        break;
    }
    return p;
}

void enable(QWidget* window, bool enabled)
{
    if (window)
        kova::enableControl(window, enabled);
}

QString translated(const char* text, bool wanted)
{
    return wanted ? QString::fromStdWString(Gettext::translate(text)) : QString();
}

} // namespace

void fillCombo(QComboBox* comboBox)
{
    KOVA_ASSERT(comboBox);
    if (!comboBox)
        return;
    KOVA_ASSERT(comboBox->insertPolicy() != QComboBox::InsertAlphabetically);
    for (int mode = 0; mode < COUNT; ++mode)
        comboBox->insertItem(mode, QString::fromStdWString(getText(mode)));
    comboBox->setCurrentIndex(DEFAULT_MODE);
}

void fillParticipants(int mode, QComboBox* comboA, QWidget* buttonA, QComboBox* comboB, QWidget* buttonB,
                      bool setDefaults, bool defaultNames)
{
    const Participants p = participantsOf(mode);
    QString textA = p.setA ? kova::ComboUtil::getText(comboA, false) : QString();
    QString textB = p.setB ? kova::ComboUtil::getText(comboB, false) : QString();

    enable(comboA, p.enableA);
    enable(buttonA, p.enableA);
    enable(comboB, p.enableB);
    enable(buttonB, p.enableB);

    if (!setDefaults)
        return;
    const QString user = translated("User", defaultNames);
    const QString user1 = translated("User 1", defaultNames);
    const QString user2 = translated("User 2", defaultNames);

    if (!p.setA) {
        kova::ComboUtil::selectString(comboA, QString());
    } else if (textA.isEmpty() || textA == user || textA == user1) {
        textA = p.oneUser ? user : user1;
        kova::ComboUtil::selectString(comboA, textA);
    }
    if (!p.setB) {
        kova::ComboUtil::selectString(comboB, QString());
    } else if (textB.isEmpty() || textB == user || textB == user2) {
        textB = p.oneUser ? user : user2;
        kova::ComboUtil::selectString(comboB, textB);
    }
    if (p.copyAToB)
        kova::ComboUtil::selectString(comboB, textA);
}

} // namespace TrainingMode
