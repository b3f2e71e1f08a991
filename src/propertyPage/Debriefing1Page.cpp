#include "propertyPage/Debriefing1Page.h"

#include "config/PropertyModel.h"

// The minute-volume bounds are kept as entered, even in the wrong order.
const std::vector<PageField>& Debriefing1Page::fields() const
{
    static const std::vector<PageField> table{
        // Counts (the first button) or percentages.
        PageField::choice(1363, &PropertyModel::debriefingAsCounts),
        PageField::check(1350, &PropertyModel::showDebriefingComments),
        PageField::check(1347, &PropertyModel::showInitialVentilations),
        PageField::check(1348, &PropertyModel::showVentilationRate),
        PageField::check(1372, &PropertyModel::showAverageVolume),
        PageField::check(1351, &PropertyModel::showStomachInflations),
        PageField::check(1349, &PropertyModel::showMinuteVolume),
        PageField::number(1376, &PropertyModel::minuteVolumeLow, 0.0001, 50.0),
        PageField::number(1357, &PropertyModel::minuteVolumeHigh, 0.0001, 50.0),
        PageField::check(1374, &PropertyModel::showVentilationCompressionRatio),
    };
    return table;
}
