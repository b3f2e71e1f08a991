#include "CPB/CPBSendSelector.h"

#include "CPB/CPBDialogTables.h"

#include <QListWidget>

CPBSendSelector::CPBSendSelector(std::vector<int> candList, QWidget* parent)
    : CPBSelector(CPBDialogTables::ensure(TEMPLATE_ID), IDC_LIST, std::move(candList), parent)
{
}

void CPBSendSelector::prepareItem(QListWidgetItem& item)
{
    item.setFlags(item.flags() | Qt::ItemIsUserCheckable);
    item.setCheckState(Qt::Checked);
}

void CPBSendSelector::onOK()
{
    chosen_.clear();
    if (const QListWidget* items = list())
        for (int row = 0; row < items->count(); ++row)
            if (items->item(row)->checkState() == Qt::Checked)
                chosen_.push_back(portOf(items->item(row)));
    accept();
}

void CPBSendSelector::onCancel()
{
    chosen_.clear();
    reject();
}
