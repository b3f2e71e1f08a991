#pragma once
// The front end that sends the station's set-up to hand-held REV Evezodidaz
// controllers and fetches it from one. The controller transfer installs its
// own front end at start-up (install); until one is installed, the default
// only reports to the error log that no transfer took place. Its windows
// open over the configuration dialog, which it gets as the parent.

#include <memory>

class PropertyModel;
class QWidget;

class CPBTransfer {
public:
    virtual ~CPBTransfer() = default;

    // The process-wide front end; never fails.
    static CPBTransfer& instance();
    // Replaces the front end; null brings the default back.
    static void install(std::unique_ptr<CPBTransfer> transfer);

    // Sends the set-up to the controllers the user chooses.
    virtual void sendSetup(const PropertyModel& setup, QWidget* parent);
    // Fills the set-up from the controller the user chooses; Cancel leaves it.
    virtual void getSetup(PropertyModel& setup, QWidget* parent);
};
