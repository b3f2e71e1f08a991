#pragma once
// What the windowed configuration dialog plugs into the settings object: it
// owns the pages, adds them to the controller when installed, and runs the
// "Configuration" dialog over the controller.

class PropertyFolderController;

class ConfigurationDialogRunner {
public:
    virtual ~ConfigurationDialogRunner() = default;

    // Adds the pages in their order: General, Debriefing 1, Debriefing 2,
    // Print, REV Evezodidaz.
    virtual void addPages(PropertyFolderController& controller) = 0;
    // Runs the dialog modally, opened at the given page, and returns once it
    // has closed; the controller has then made the edits live or dropped them.
    virtual void run(PropertyFolderController& controller, int page) = 0;
};
