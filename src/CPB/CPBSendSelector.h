#pragma once
// The selector of the controllers a set-up is sent to: every controller
// port with a check box, all checked at first.

#include "CPB/CPBSelector.h"

class CPBSendSelector : public CPBSelector {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 258;
    static constexpr int IDC_LIST = 1392;

    CPBSendSelector(std::vector<int> candList, QWidget* parent = nullptr);

    // The checked ports in list order after OK; empty before and after Cancel.
    const std::vector<int>& chosen() const { return chosen_; }

protected:
    void prepareItem(QListWidgetItem& item) override;
    void onOK() override;
    void onCancel() override;

private:
    std::vector<int> chosen_;
};
