#include "Database/record-controls/ApprovalCombo.h"

#include "gettext/Gettext.h"

#include <QComboBox>

namespace Approval {

void fillCombo(QComboBox* comboBox)
{
    if (!comboBox)
        return;
    comboBox->clear();
    comboBox->addItem(QString());
    comboBox->addItem(QString::fromStdWString(Gettext::translate("Yes")));
    comboBox->addItem(QString::fromStdWString(Gettext::translate("No")));
    comboBox->setCurrentIndex(0);
}

} // namespace Approval
