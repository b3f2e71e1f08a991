#pragma once
// The "Print" page: the print heading and what the debriefing print holds.

#include "propertyPage/ConfigPage.h"

class PrintPage : public ConfigPage {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 251;

    int getTemplateId() const override { return TEMPLATE_ID; }
    const std::vector<PageField>& fields() const override;

protected:
    void onInitPage() override;
};
