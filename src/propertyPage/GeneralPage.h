#pragma once
// The "General" page: end-of-session sound, metronome frequency, ECG graph.

#include "propertyPage/ConfigPage.h"

class GeneralPage : public ConfigPage {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 246;

    int getTemplateId() const override { return TEMPLATE_ID; }
    int getHeaderBitmapId() const override { return 253; }
    const std::vector<PageField>& fields() const override;
};
