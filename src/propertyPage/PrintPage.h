#pragma once
// The "Print" page: the print heading and what the debriefing print holds.

#include "propertyPage/ConfigPage.h"

#include <string>

class PrintPage : public ConfigPage {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 251;

    int getTemplateId() const override { return TEMPLATE_ID; }
    void load(const PropertyModel& model) override;
    bool store(PropertyModel& model) override;

protected:
    void onInitPage() override;
    void exchange(PageExchange& exchange) override;

private:
    std::string heading_;
    int printGraph_ = 1;
    int graphMaxPrintTime_ = 5;
    int printEventList_ = 1;
    int printDebriefingText_ = 1;
    int printApprovalFields_ = 1;
};
