#pragma once
// The "Debriefing 1" page: the debriefing format and the ventilation results shown.

#include "propertyPage/ConfigPage.h"

class Debriefing1Page : public ConfigPage {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 245;

    int getTemplateId() const override { return TEMPLATE_ID; }
    const std::vector<PageField>& fields() const override;
};
