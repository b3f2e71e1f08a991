#include "Rodezir/ComboUtil.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

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

void followTyping(QComboBox* combo)
{
    QLineEdit* edit = combo ? combo->lineEdit() : nullptr;
    if (!edit)
        return;
    // textEdited comes of the user's edits alone: a text set by the code keeps the selection.
    QObject::connect(edit, &QLineEdit::textEdited, combo, [combo, edit](const QString& typed) {
        const int current = combo->currentIndex();
        if (current < 0 || combo->itemText(current) == typed)
            return;
        // Dropping the current item empties the edit field, which gets the
        // typed text back at once. The box tells nobody: the user's edit has
        // been reported already, and dropping a selection sends no
        // notification of its own.
        const int cursor = edit->cursorPosition();
        {
            const QSignalBlocker quiet(combo);
            combo->setCurrentIndex(-1);
            if (edit->text() != typed)
                edit->setText(typed);
        }
        edit->setCursorPosition(cursor);
    });
}

} // namespace kova::ComboUtil
