#pragma once
// The "Debriefing 2" page: the compression results shown, the recommended
// cardiac output and the correct compression depth override.

#include "propertyPage/ConfigPage.h"

class Debriefing2Page : public ConfigPage {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 250;

    int getTemplateId() const override { return TEMPLATE_ID; }
    const std::vector<PageField>& fields() const override;

protected:
    void onInitPage() override;
    void onLoaded(const PropertyModel& model) override;
    void onStored(PropertyModel& model) override;

private:
    void updateDepthEdits();
};
