#pragma once
// The station's controller transfer behind the configuration dialog's two
// buttons: the user picks the controllers among the ports known to hold one,
// then each transfer runs with its own progress window over the dialog.

#include "config/CPBTransfer.h"

class CPBTransferFrontEnd : public CPBTransfer {
public:
    // Registers the transfer's windows and puts this front end in place.
    static void install();

    // The send selector, then one send per checked controller. Each progress
    // window closes itself when its transfer went through, except the last
    // one's, which shows the outcome until the user closes it; a failed
    // transfer's window always stays, so no failure hides behind a later
    // controller's success.
    void sendSetup(const PropertyModel& setup, QWidget* parent) override;
    // The get selector, then the fetch from the chosen controller into the
    // set-up; its window stays until the user closes it.
    void getSetup(PropertyModel& setup, QWidget* parent) override;

    // One controller, by COM port; true when the whole transfer went through.
    static bool send(int port, const PropertyModel& setup, QWidget* parent, bool keepOpen);
    static bool get(int port, PropertyModel& setup, QWidget* parent);
};
