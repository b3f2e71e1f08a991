#pragma once
// The windowed configuration dialog as the settings object runs it: owns the
// five pages and opens the "Configuration" dialog over the controller.

#include "config/ConfigurationDialogRunner.h"

#include <memory>
#include <vector>

class ConfigPage;

class ConfigurationDialogs final : public ConfigurationDialogRunner {
public:
    ConfigurationDialogs();
    ~ConfigurationDialogs() override;

    void addPages(PropertyFolderController& controller) override;
    void run(PropertyFolderController& controller, int page) override;

    ConfigPage* page(int index) const;

private:
    std::vector<std::unique_ptr<ConfigPage>> pages_;
};

// Registers the dialog templates of the configuration windows and installs
// the dialog into the settings object; called once at start-up.
void installConfigurationDialog();
