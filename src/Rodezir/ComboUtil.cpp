#include "Rodezir/ComboUtil.h"

#include <QComboBox>

namespace kova::ComboUtil {
namespace {

// The next item after `after` (wrapping, -1 for the start) that begins with the text, or -1.
int findPrefix(const QComboBox* combo, const QString& text, int after)
{
    const int count = combo->count();
    for (int step = 1; step <= count; ++step) {
        const int index = ((after + step) % count + count) % count;
        if (combo->itemText(index).startsWith(text, Qt::CaseInsensitive))
            return index;
    }
    return -1;
}

} // namespace

bool isComboBox(const QWidget* window)
{
    return qobject_cast<const QComboBox*>(window) != nullptr;
}

bool isDropDownList(const QComboBox* combo)
{
    return combo && !combo->isEditable();
}

void selectString(QComboBox* combo, const QString& text)
{
    if (!combo)
        return;
    if (combo->isEditable()) {
        if (combo->currentText() != text) {
            combo->setCurrentIndex(-1);
            combo->setEditText(text);
        }
        return;
    }
    if (text.isEmpty()) {
        combo->setCurrentIndex(-1);
        return;
    }
    const int first = findPrefix(combo, text, -1);
    if (first < 0)
        return;
    int selected = first;
    while (combo->itemText(selected) != text) {
        const int next = findPrefix(combo, text, selected);
        if (next == first)
            break;
        selected = next;
    }
    if (combo->itemText(selected) != text)
        selected = first;
    combo->setCurrentIndex(selected);
}

QString getText(const QComboBox* combo, bool editText)
{
    if (!combo)
        return {};
    if (!editText && combo->currentIndex() >= 0)
        return combo->itemText(combo->currentIndex());
    return combo->isEditable() ? combo->currentText() : QString();
}

QString shownText(const QComboBox* combo) { return getText(combo, combo && combo->isEditable()); }

void copyItems(const QComboBox* source, QComboBox* destination)
{
    if (!source || !destination)
        return;
    const QString remembered = getText(destination, false);
    destination->clear();
    for (int i = 0; i < source->count(); ++i)
        destination->addItem(source->itemText(i));
    selectString(destination, remembered);
}

} // namespace kova::ComboUtil
