#pragma once
// The process-wide owner of the station's settings: the live record every
// subsystem reads, loaded from "configuration.cprcfg" when the object is
// created at start-up and written back once at exit. The windows that edit
// it (the configuration dialog, the transfer to controllers) are installed
// from the windowed libraries.

#include "Rodezir/Signal.h"
#include "Rodezir/SlotHolder.h"
#include "config/PropertyFolderController.h"

#include <memory>

class ConfigurationDialogRunner;

class Configuration : public virtual SlotHolder {
public:
    // Created, and the settings file loaded, on the first call.
    static Configuration& instance();
    // Ends the instance; the next instance() loads the file again.
    static void destroy();

    ~Configuration() override;
    Configuration(const Configuration&) = delete;
    Configuration& operator=(const Configuration&) = delete;

    // The live record, read at the moment a value is needed, never kept.
    PropertyModel& getPropertyModel() { return controller_.getPropertyModel(); }
    PropertyFolderController& getController() { return controller_; }

    // Hands the configuration dialog its pages and the way to run it.
    void setDialogRunner(std::unique_ptr<ConfigurationDialogRunner> runner);
    // Runs the configuration dialog at the given page (0 General, 4 REV
    // Evezodidaz) over the main window; every slot of changed is called once
    // it has closed. The main window's commands call it.
    void showDialog(int page);
    // Writes the live record to the settings file; false when it could not.
    bool save();

    Signal<> changed;

private:
    Configuration();

    PropertyFolderController controller_;
    // Declared after the controller so the pages go before it.
    std::unique_ptr<ConfigurationDialogRunner> dialogRunner_;
};
