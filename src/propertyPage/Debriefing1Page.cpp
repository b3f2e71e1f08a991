#include "propertyPage/Debriefing1Page.h"

#include "config/PropertyModel.h"
#include "propertyPage/PageExchange.h"

void Debriefing1Page::load(const PropertyModel& model)
{
    format_ = model.debriefingAsCounts ? 0 : 1;
    showComments_ = model.showDebriefingComments;
    showInitialVentilations_ = model.showInitialVentilations;
    showVentilationRate_ = model.showVentilationRate;
    showAverageVolume_ = model.showAverageVolume;
    showStomachInflations_ = model.showStomachInflations;
    showMinuteVolume_ = model.showMinuteVolume;
    minuteVolumeLow_ = model.minuteVolumeLow;
    minuteVolumeHigh_ = model.minuteVolumeHigh;
    showRatio_ = model.showVentilationCompressionRatio;
    runExchange(false);
}

// The minute-volume bounds are kept as entered, even in the wrong order.
bool Debriefing1Page::store(PropertyModel& model)
{
    if (!runExchange(true))
        return false;
    model.debriefingAsCounts = format_ == 0;
    model.showDebriefingComments = showComments_ != 0;
    model.showInitialVentilations = showInitialVentilations_ != 0;
    model.showVentilationRate = showVentilationRate_ != 0;
    model.showAverageVolume = showAverageVolume_ != 0;
    model.showStomachInflations = showStomachInflations_ != 0;
    model.showMinuteVolume = showMinuteVolume_ != 0;
    model.minuteVolumeLow = minuteVolumeLow_;
    model.minuteVolumeHigh = minuteVolumeHigh_;
    model.showVentilationCompressionRatio = showRatio_ != 0;
    return true;
}

void Debriefing1Page::exchange(PageExchange& data)
{
    data.radio(1363, format_);
    data.check(1350, showComments_);
    data.check(1347, showInitialVentilations_);
    data.check(1348, showVentilationRate_);
    data.check(1372, showAverageVolume_);
    data.check(1351, showStomachInflations_);
    data.check(1349, showMinuteVolume_);
    data.number(1376, minuteVolumeLow_, 0.0001, 50.0);
    data.number(1357, minuteVolumeHigh_, 0.0001, 50.0);
    data.check(1374, showRatio_);
}
