#pragma once
// Puts one of our own controls in the place of a control a dialog was built
// with, the way the station's dialogs subclass a template control: the new
// widget takes the old one's id, geometry, text, font, visibility, enabled
// state and place in the tab order, and the dialog's notifications follow it.

class QWidget;

namespace kova {

// False, with nothing changed, when `parent` holds no control of that id. The
// old control is deleted.
bool replaceDialogControl(QWidget* parent, int controlId, QWidget* replacement);

} // namespace kova
