#pragma once
// The "Debriefing 1" page: the debriefing format and the ventilation results shown.

#include "propertyPage/ConfigPage.h"

class Debriefing1Page : public ConfigPage {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 245;

    int getTemplateId() const override { return TEMPLATE_ID; }
    void load(const PropertyModel& model) override;
    bool store(PropertyModel& model) override;

protected:
    void exchange(PageExchange& exchange) override;

private:
    int format_ = 0; // 0 counts, 1 percentages
    int showComments_ = 1;
    int showInitialVentilations_ = 1;
    int showVentilationRate_ = 1;
    int showAverageVolume_ = 1;
    int showStomachInflations_ = 1;
    int showMinuteVolume_ = 1;
    double minuteVolumeLow_ = 1.5;
    double minuteVolumeHigh_ = 6.0;
    int showRatio_ = 1;
};
