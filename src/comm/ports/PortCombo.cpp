#include "comm/ports/PortCombo.h"

#include "comm/ports/CalibrateManager.h"

#include <QComboBox>

namespace {

bool fill(QComboBox& combo, const std::vector<PortChoice>& choices)
{
    combo.clear();
    for (const PortChoice& choice : choices)
        combo.addItem(QString::fromStdString(choice.text), choice.port);
    if (choices.empty())
        return false;
    combo.setCurrentIndex(0);
    return true;
}

} // namespace

bool PortCombo::fillUsbCombo(QComboBox& combo, const CalibrateManager& manager)
{
    return fill(combo, manager.usbChoices());
}

bool PortCombo::fillPortCombo(QComboBox& combo, const CalibrateManager& manager)
{
    return fill(combo, manager.portChoices());
}

int PortCombo::selectedPort(const QComboBox& combo)
{
    return combo.currentIndex() < 0 ? 0 : combo.currentData().toInt();
}
