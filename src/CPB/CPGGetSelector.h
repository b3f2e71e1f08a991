#pragma once
// The selector of the one controller a set-up is fetched from. OK stays
// disabled while no controller is selected.

#include "CPB/CPBSelector.h"

class CPGGetSelector : public CPBSelector {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 257;
    static constexpr int IDC_LIST = 1276;

    CPGGetSelector(std::vector<int> candList, QWidget* parent = nullptr);

    // The selected port after OK; -1 before and after Cancel.
    int chosen() const { return chosen_; }

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;

private:
    void updateOk();

    int chosen_ = -1;
};
