#pragma once
// The windowed configuration dialog as the settings object runs it: owns the
// five pages and opens the "Configuration" dialog over the controller.

#include "config/ConfigurationDialogRunner.h"

#include <QPointer>

#include <memory>
#include <vector>

class ConfigPage;
class QWidget;

class ConfigurationDialogs final : public ConfigurationDialogRunner {
public:
    // The dialog opens over `mainWindow`; without one, over the active window.
    explicit ConfigurationDialogs(QWidget* mainWindow = nullptr);
    ~ConfigurationDialogs() override;

    void addPages(PropertyFolderController& controller) override;
    void run(PropertyFolderController& controller, int page) override;

    ConfigPage* page(int index) const;

private:
    std::vector<std::unique_ptr<ConfigPage>> pages_;
    QPointer<QWidget> mainWindow_;
};

// Registers the dialog templates of the configuration windows and installs
// the dialog, opening over `mainWindow`, into the settings object; called
// once at start-up, when the main window exists.
void installConfigurationDialog(QWidget* mainWindow = nullptr);
