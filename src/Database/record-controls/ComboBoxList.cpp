#include "Database/record-controls/ComboBoxList.h"

#include "Rodezir/ComboUtil.h"

#include <QComboBox>

std::string ComboBoxList::getText() { return kova::ComboUtil::getText(&combo_, false).toStdString(); }

void ComboBoxList::clear() { combo_.clear(); }

void ComboBoxList::addItem(const std::string& text)
{
    QString item = QString::fromStdString(text);
    // A sorted list box places a new item before the first one that sorts
    // after it, ignoring case; equal items keep their order of arrival.
    int index = combo_.count();
    if (combo_.insertPolicy() == QComboBox::InsertAlphabetically) {
        index = 0;
        while (index < combo_.count() && QString::compare(combo_.itemText(index), item, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    // Qt selects the first item put into an empty box; an added item must
    // not choose anything by itself.
    bool hadSelection = combo_.currentIndex() >= 0;
    combo_.insertItem(index, item);
    if (!hadSelection)
        combo_.setCurrentIndex(-1);
}

void ComboBoxList::selectString(const std::string& text)
{
    kova::ComboUtil::selectString(&combo_, QString::fromStdString(text));
}
