#pragma once
// The configuration dialog's "Get from REV Evezodidaz..." and "Send to REV
// Evezodidaz..." buttons: the displayed page is taken into the edited record,
// which then goes to the controller transfer with the dialog as the parent
// of the transfer's own windows.

class PropertyFolderController;
class QWidget;

class ConfigurationTransfer {
public:
    // Takes in the current page (its verdict does not stop the transfer),
    // then sends the edited record to the controllers the user chooses.
    static void sendToController(PropertyFolderController& controller, QWidget* parent);
    // Takes in the current page, then fetches a set-up into a copy of the
    // edited record and makes the copy the edited record, whatever the
    // transfer's outcome; the current page shows it.
    static void getFromController(PropertyFolderController& controller, QWidget* parent);
};
