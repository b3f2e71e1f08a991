#include "CPB/CPBSelector.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/BoxLayout.h"
#include "Rodezir/dialogs/ControlGroup.h"
#include "Rodezir/dialogs/LayoutSpacer.h"
#include "controls/RoundButton.h"
#include "gettext/Gettext.h"

#include <QListWidget>

CPBSelector::CPBSelector(int templateId, int listId, std::vector<int> candList, QWidget* parent)
    : LayoutDialog(templateId, parent)
    , listId_(listId)
    , candList_(std::move(candList))
{
}

QListWidget* CPBSelector::list() const { return qobject_cast<QListWidget*>(getDlgItem(listId_)); }

int CPBSelector::portOf(const QListWidgetItem* item) { return item ? item->data(Qt::UserRole).toInt() : -1; }

bool CPBSelector::onInitDialog()
{
    for (const int id : {kova::IDOK, kova::IDCANCEL})
        kova::RoundButton::attach(this, id);
    const bool result = LayoutDialog::onInitDialog();

    auto buttons = std::make_unique<kova::RowLayout>();
    buttons->add(1, kova::LayoutSpacer::create(0, 0));
    buttons->add(0, kova::ControlGroup::create(this, kova::IDOK, kova::IDCANCEL));
    buttons->add(1, kova::LayoutSpacer::create(0, 0));
    auto column = std::make_unique<kova::ColumnLayout>();
    column->add(0, kova::ControlGroup::create(this, IDC_PROMPT));
    column->add(1, kova::ControlGroup::create(this, listId_));
    column->add(0, kova::LayoutItemPtr(buttons.release()));
    setLayout(kova::LayoutItemPtr(column.release()), false);

    // The configuration dialog offers the transfer only while a controller is known.
    KOVA_ASSERT(candList_.size() > 0);
    QListWidget* items = list();
    if (!items)
        return result;
    const std::wstring com = Gettext::translate("Com");
    for (const int port : candList_) {
        auto* item = new QListWidgetItem(QString::fromStdWString(com + L" " + std::to_wstring(port)));
        item->setData(Qt::UserRole, port);
        prepareItem(*item);
        items->addItem(item);
    }
    if (items->count() > 0)
        items->setCurrentRow(0);
    return result;
}
