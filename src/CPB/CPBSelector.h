#pragma once
// What the two controller selectors share: a prompt over a list of the ports
// that hold a controller ("Com 5"), the list taking the dialog's growth, and
// OK and Cancel centred below it.

#include "Rodezir/dialogs/LayoutDialog.h"

#include <vector>

class QListWidget;
class QListWidgetItem;

class CPBSelector : public kova::LayoutDialog {
    Q_OBJECT
public:
    static constexpr int IDC_PROMPT = 1390;

    // `candList`: the controller ports in port order.
    CPBSelector(int templateId, int listId, std::vector<int> candList, QWidget* parent);

    QListWidget* list() const;
    const std::vector<int>& candidates() const { return candList_; }
    // The port an item stands for.
    static int portOf(const QListWidgetItem* item);

protected:
    bool onInitDialog() override;
    // A new item before it joins the list.
    virtual void prepareItem(QListWidgetItem& item) {}

private:
    int listId_;
    std::vector<int> candList_;
};
