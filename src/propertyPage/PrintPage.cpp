#include "propertyPage/PrintPage.h"

#include "Rodezir/gstringUtil.h"
#include "config/PropertyModel.h"
#include "propertyPage/PageExchange.h"

#include <QLineEdit>
#include <QSpinBox>

#include <climits>

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

void PrintPage::load(const PropertyModel& model)
{
    heading_ = toNarrow(model.printHeading);
    printGraph_ = model.printGraph;
    graphMaxPrintTime_ = model.graphMaxPrintTime;
    printEventList_ = model.printEventList;
    printDebriefingText_ = model.printDebriefingText;
    printApprovalFields_ = model.printApprovalFields;
    runExchange(false);
}

bool PrintPage::store(PropertyModel& model)
{
    if (!runExchange(true))
        return false;
    model.printHeading = toWide(heading_);
    model.printGraph = printGraph_ != 0;
    model.graphMaxPrintTime = graphMaxPrintTime_;
    model.printEventList = printEventList_ != 0;
    model.printDebriefingText = printDebriefingText_ != 0;
    model.printApprovalFields = printApprovalFields_ != 0;
    return true;
}

void PrintPage::exchange(PageExchange& data)
{
    data.text(1335, heading_);
    data.check(1345, printGraph_);
    data.integer(1344, graphMaxPrintTime_, 1, 240);
    data.check(1001, printEventList_);
    data.check(1367, printDebriefingText_);
    data.check(1004, printApprovalFields_);
}
