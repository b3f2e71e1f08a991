#pragma once
// The "Debriefing 2" page: the compression results shown, the recommended
// cardiac output and the correct compression depth override.

#include "propertyPage/ConfigPage.h"

class Debriefing2Page : public ConfigPage {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 250;

    int getTemplateId() const override { return TEMPLATE_ID; }
    void load(const PropertyModel& model) override;
    bool store(PropertyModel& model) override;

protected:
    void onInitPage() override;
    void exchange(PageExchange& exchange) override;

private:
    void updateDepthEdits();

    int showCompressionRate_ = 1;
    int showRelaxationRatio_ = 1;
    int showCompressionDepth_ = 1;
    int showPause_ = 1;
    int maxPause_ = 9;
    int showWrongHand_ = 1;
    int showLeanings_ = 1;
    int showCardiacOutput_ = 0;
    double cardiacOutputLow_ = 1.4;
    double cardiacOutputHigh_ = 6.0;
    double outputPerCompression_ = 0.03;
    double outputPerWrongHand_ = 0.01;
    double depthLow_ = 30.0;
    double depthHigh_ = 52.0;
};
