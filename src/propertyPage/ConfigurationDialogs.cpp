#include "propertyPage/ConfigurationDialogs.h"

#include "config/Configuration.h"
#include "config/PropertyFolderController.h"
#include "propertyPage/ConfigDialogTables.h"
#include "propertyPage/Debriefing1Page.h"
#include "propertyPage/Debriefing2Page.h"
#include "propertyPage/GeneralPage.h"
#include "propertyPage/PrintPage.h"
#include "propertyPage/PropertyFolderView.h"
#include "propertyPage/PropertyPage4.h"

#include <QApplication>

ConfigurationDialogs::ConfigurationDialogs(QWidget* mainWindow) : mainWindow_(mainWindow)
{
    pages_.push_back(std::make_unique<GeneralPage>());
    pages_.push_back(std::make_unique<Debriefing1Page>());
    pages_.push_back(std::make_unique<Debriefing2Page>());
    pages_.push_back(std::make_unique<PrintPage>());
    pages_.push_back(std::make_unique<PropertyPage4>());
}

ConfigurationDialogs::~ConfigurationDialogs() = default;

ConfigPage* ConfigurationDialogs::page(int index) const
{
    return index >= 0 && index < static_cast<int>(pages_.size()) ? pages_[static_cast<std::size_t>(index)].get()
                                                                  : nullptr;
}

void ConfigurationDialogs::addPages(PropertyFolderController& controller)
{
    for (const auto& page : pages_)
        controller.addPage(page.get());
}

void ConfigurationDialogs::run(PropertyFolderController& controller, int page)
{
    PropertyFolderView view(controller, page, mainWindow_ ? mainWindow_.data() : QApplication::activeWindow());
    view.run(true);
}

void installConfigurationDialog(QWidget* mainWindow)
{
    registerConfigDialogTables();
    Configuration::instance().setDialogRunner(std::make_unique<ConfigurationDialogs>(mainWindow));
}
