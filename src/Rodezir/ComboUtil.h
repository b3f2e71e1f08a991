#pragma once
// Combo-box helpers shared by the dialogs: selecting by text the way the
// dialog manager does (first exact match, else first prefix match), copying
// the items of one box into another while keeping the selection, and reading
// the selected or typed text.

#include <QString>

class QComboBox;
class QWidget;

namespace kova::ComboUtil {

// Whether the window is a combo box.
bool isComboBox(const QWidget* window);
// Whether the combo box is a drop-down list (no edit field).
bool isDropDownList(const QComboBox* combo);

// Editable box: when the text differs, the list selection is cleared and the
// text put in the edit field. Drop-down list: an empty text clears the
// selection; otherwise the first item that equals the text, else the first
// that begins with it (ignoring case) is selected; nothing changes when no
// item begins with it.
void selectString(QComboBox* combo, const QString& text);
// The selected item's text, or the window text when no item is selected or
// the edit text is asked for.
QString getText(const QComboBox* combo, bool editText);
// What the box shows: the typed text of an editable box, the chosen item of
// a list (empty when none is chosen).
QString shownText(const QComboBox* combo);
// Replaces the destination's items by the source's, keeping the destination's text selected.
void copyItems(const QComboBox* source, QComboBox* destination);
// Makes an editable box drop its list selection as soon as the user edits
// its text, as the dialog manager's box does: a Qt box keeps its current
// item while the user types, so every reader of the selection (getText,
// currentIndex) would take the item the box no longer shows.
void followTyping(QComboBox* combo);

} // namespace kova::ComboUtil
