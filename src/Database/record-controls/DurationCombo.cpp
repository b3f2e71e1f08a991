#include "Database/record-controls/DurationCombo.h"

#include "Database/Duration.h"
#include "Rodezir/ComboUtil.h"
#include "Rodezir/LogStream.h"

#include <QComboBox>

namespace Duration {
namespace {

constexpr long CHOICES[] = {30, 60, 120, 300, 600, 1200, NO_LIMIT};
constexpr long SHOWN_AT_FIRST = 120;

} // namespace

void fillCombo(QComboBox* comboBox)
{
    KOVA_ASSERT(comboBox);
    if (!comboBox)
        return;
    KOVA_ASSERT(comboBox->insertPolicy() != QComboBox::InsertAlphabetically);
    for (const long seconds : CHOICES) {
        comboBox->addItem(QString::fromStdWString(format(seconds)));
        if (seconds == SHOWN_AT_FIRST)
            kova::ComboUtil::selectString(comboBox, QString::fromStdWString(format(seconds)));
    }
}

void select(QComboBox* comboBox, long seconds)
{
    KOVA_ASSERT(comboBox);
    if (!comboBox)
        return;
    kova::ComboUtil::selectString(comboBox, QString::fromStdWString(format(seconds)));
}

long getSelected(const QComboBox* comboBox)
{
    KOVA_ASSERT(comboBox);
    if (!comboBox)
        return NO_LIMIT;
    return parse(kova::ComboUtil::getText(comboBox, false).toStdWString());
}

} // namespace Duration
