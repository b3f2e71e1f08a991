#include "CPB/CPGGetSelector.h"

#include "CPB/CPBDialogTables.h"

#include <QListWidget>

CPGGetSelector::CPGGetSelector(std::vector<int> candList, QWidget* parent)
    : CPBSelector(CPBDialogTables::ensure(TEMPLATE_ID), IDC_LIST, std::move(candList), parent)
{
}

bool CPGGetSelector::onInitDialog()
{
    const bool result = CPBSelector::onInitDialog();
    if (QListWidget* items = list()) {
        items->setSelectionMode(QAbstractItemView::SingleSelection);
        connect(items, &QListWidget::itemSelectionChanged, this, [this] { updateOk(); });
        connect(items, &QListWidget::itemDoubleClicked, this, [this] { onOK(); });
    }
    updateOk();
    return result;
}

void CPGGetSelector::updateOk()
{
    const QListWidget* items = list();
    if (QWidget* ok = getDlgItem(kova::IDOK))
        ok->setEnabled(items && !items->selectedItems().isEmpty());
}

void CPGGetSelector::onOK()
{
    const QListWidget* items = list();
    if (!items || items->selectedItems().isEmpty())
        return;
    chosen_ = portOf(items->selectedItems().front());
    accept();
}

void CPGGetSelector::onCancel()
{
    chosen_ = -1;
    reject();
}
