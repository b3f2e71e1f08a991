#pragma once
// What every control built from a dialog template carries: its numeric id,
// and one text that reads and writes like a window text whatever the widget
// (a caption, a label, an edit's contents, a group box's title).

#include <QString>

class QWidget;

namespace kova {

// The id of a control, or 0 when the widget was not built from a template.
int controlId(const QWidget* control);
void setControlId(QWidget* control, int id);

// The control of `parent` that carries the id, or null: its own children
// first, then deeper descendants; the first in creation order when several do.
QWidget* getDlgItem(const QWidget* parent, int id);

// The window text: a window's title, a button's or label's text, a group
// box's title, an edit's or editable combo box's contents. Widgets of our own
// controls expose it through a "text" property; anything else keeps it as a
// plain property so it reads back as it was set.
QString windowText(const QWidget* window);
void setWindowText(QWidget* window, const QString& text);

} // namespace kova
