#include "config/ConfigurationTransfer.h"

#include "config/CPBTransfer.h"
#include "config/PropertyFolderController.h"

void ConfigurationTransfer::sendToController(PropertyFolderController& controller, QWidget* parent)
{
    controller.storeCurrentPage();
    CPBTransfer::instance().sendSetup(controller.getEditedModel(), parent);
}

// Unchanged when the user cancelled, the controller's set-up when one was read.
void ConfigurationTransfer::getFromController(PropertyFolderController& controller, QWidget* parent)
{
    controller.storeCurrentPage();
    PropertyModel setup = controller.getEditedModel();
    CPBTransfer::instance().getSetup(setup, parent);
    controller.setEditedModel(setup);
}
