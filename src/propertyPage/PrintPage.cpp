#include "propertyPage/PrintPage.h"

#include "config/PropertyModel.h"

#include <QLineEdit>
#include <QSpinBox>

#include <climits>

const std::vector<PageField>& PrintPage::fields() const
{
    static const std::vector<PageField> table{
        PageField::text(1335, &PropertyModel::printHeading),
        PageField::check(1345, &PropertyModel::printGraph),
        PageField::integer(1344, &PropertyModel::graphMaxPrintTime, 1, 240),
        PageField::check(1001, &PropertyModel::printEventList),
        PageField::check(1367, &PropertyModel::printDebriefingText),
        PageField::check(1004, &PropertyModel::printApprovalFields),
    };
    return table;
}

void PrintPage::onInitPage()
{
    // The up-down control beside the print time steps the edit's integer;
    // it has no range of its own, so it never clamps what was typed.
    auto* spin = qobject_cast<QSpinBox*>(item(1346));
    auto* edit = qobject_cast<QLineEdit*>(item(1344));
    if (spin && edit) {
        spin->setRange(INT_MIN, INT_MAX);
        spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
        connect(spin, &QSpinBox::valueChanged, edit, [spin, edit](int value) {
            if (spin->hasFocus() || spin->underMouse())
                edit->setText(QString::number(value));
        });
        connect(edit, &QLineEdit::textChanged, spin, [spin](const QString& text) {
            bool ok = false;
            const int value = text.toInt(&ok);
            if (ok) {
                const QSignalBlocker block(spin);
                spin->setValue(value);
            }
        });
    }
}
