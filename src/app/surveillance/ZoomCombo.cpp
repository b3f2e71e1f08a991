#include "app/surveillance/ZoomCombo.h"

#include "Rodezir/LogStream.h"
#include "app/surveillance/ZoomWindows.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

void ZoomCombo::fill(QComboBox& combo, QSpinBox* upDown, int defaultMs)
{
    const QSignalBlocker quiet(combo);
    combo.clear();
    for (const int milliseconds : ZoomWindows::LENGTHS_MS)
        combo.addItem(QString::fromStdWString(ZoomWindows::text(milliseconds)), milliseconds);
    // Adding to an empty list selects its first entry; only the default may be.
    combo.setCurrentIndex(-1);
    if (upDown) {
        const QSignalBlocker quietUpDown(upDown);
        upDown->setRange(0, combo.count() - 1);
    }
    const int index = ZoomWindows::indexOf(defaultMs);
    const bool known = index >= 0;
    KOVA_ASSERT(known);
    if (known)
        select(combo, upDown, index);
}

void ZoomCombo::select(QComboBox& combo, QSpinBox* upDown, int index)
{
    if (combo.count() == 0)
        return;
    index = std::clamp(index, 0, combo.count() - 1);
    {
        const QSignalBlocker quiet(combo);
        combo.setCurrentIndex(index);
    }
    if (upDown) {
        const QSignalBlocker quiet(upDown);
        upDown->setValue(index);
    }
}

int ZoomCombo::selectedMilliseconds(const QComboBox& combo)
{
    return combo.currentIndex() < 0 ? 0 : combo.currentData().toInt();
}
