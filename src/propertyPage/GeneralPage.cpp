#include "propertyPage/GeneralPage.h"

#include "config/PropertyModel.h"

const std::vector<PageField>& GeneralPage::fields() const
{
    static const std::vector<PageField> table{
        PageField::check(1339, &PropertyModel::playEndSound),
        PageField::number(1341, &PropertyModel::metronomeRate, 1.0, 250.0),
        PageField::check(1487, &PropertyModel::ecgEnabled),
    };
    return table;
}
