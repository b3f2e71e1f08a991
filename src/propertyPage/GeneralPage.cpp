#include "propertyPage/GeneralPage.h"

#include "config/PropertyModel.h"
#include "propertyPage/PageExchange.h"

void GeneralPage::load(const PropertyModel& model)
{
    playEndSound_ = model.playEndSound;
    metronomeRate_ = model.metronomeRate;
    ecgEnabled_ = model.ecgEnabled;
    runExchange(false);
}

bool GeneralPage::store(PropertyModel& model)
{
    if (!runExchange(true))
        return false;
    model.playEndSound = playEndSound_ != 0;
    model.metronomeRate = metronomeRate_;
    model.ecgEnabled = ecgEnabled_ != 0;
    return true;
}

void GeneralPage::exchange(PageExchange& data)
{
    data.check(1339, playEndSound_);
    data.number(1341, metronomeRate_, 1.0, 250.0);
    data.check(1487, ecgEnabled_);
}
