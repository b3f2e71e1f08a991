#include "config/Configuration.h"

#include "Rodezir/LogStream.h"
#include "config/ConfigurationDialogRunner.h"
#include "config/SettingsFile.h"

namespace {
std::unique_ptr<Configuration>& theInstance()
{
    static std::unique_ptr<Configuration> configuration;
    return configuration;
}
} // namespace

Configuration& Configuration::instance()
{
    if (!theInstance())
        theInstance().reset(new Configuration());
    return *theInstance();
}

void Configuration::destroy() { theInstance().reset(); }

// A file that cannot be read leaves the defaults in force; the reasons are
// in the error log.
Configuration::Configuration()
{
    PropertyModel loaded;
    if (SettingsFile::load(SettingsFile::NAME, loaded))
        controller_.setPropertyModel(loaded);
}

Configuration::~Configuration()
{
    dialogRunner_.reset();
    changed.disconnectAll();
}

void Configuration::setDialogRunner(std::unique_ptr<ConfigurationDialogRunner> runner)
{
    controller_.removeAllPages();
    dialogRunner_ = std::move(runner);
    if (dialogRunner_)
        dialogRunner_->addPages(controller_);
}

void Configuration::showDialog(int page)
{
    if (!dialogRunner_) {
        LogStream::instance() << "The configuration dialog is not available.\n";
        return;
    }
    dialogRunner_->run(controller_, page);
    changed.notify();
}

bool Configuration::save() { return SettingsFile::save(SettingsFile::NAME, controller_.getPropertyModel()); }
