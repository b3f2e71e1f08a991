#include "propertyPage/PropertyFolderView.h"

#include "Rodezir/Signal.h"
#include "Rodezir/dialogs/ControlNotifier.h"
#include "comm/ports/CalibrateManager.h"
#include "config/ConfigurationTransfer.h"
#include "config/PropertyFolderController.h"
#include "controls/RoundButton.h"

namespace {

FolderSetup configurationSetup(PropertyFolderController& controller, int initialPage)
{
    FolderSetup setup;
    setup.initialPage = initialPage;
    setup.templateId = PropertyFolderView::TEMPLATE_ID;
    setup.controller = &controller;
    setup.icon = 128;
    return setup;
}

} // namespace

PropertyFolderView::PropertyFolderView(PropertyFolderController& controller, int initialPage, QWidget* parent)
    : FolderDialog(configurationSetup(controller, initialPage), parent)
{
    ::connect(CalibrateManager::get().changed, *this, &PropertyFolderView::updateControllerButtons);
}

PropertyFolderView::~PropertyFolderView() { slotConnections().disconnectAll(); }

bool PropertyFolderView::onInitDialog()
{
    for (int id : {GET_FROM_CONTROLLER, SEND_TO_CONTROLLER, folderSetup().helpId, kova::IDCANCEL, kova::IDOK})
        kova::RoundButton::attach(this, id);
    notifier().on(GET_FROM_CONTROLLER, kova::Notification::Clicked,
                  [this] { ConfigurationTransfer::getFromController(controller(), this); });
    notifier().on(SEND_TO_CONTROLLER, kova::Notification::Clicked,
                  [this] { ConfigurationTransfer::sendToController(controller(), this); });
    const bool result = FolderDialog::onInitDialog();
    updateControllerButtons();
    return result;
}

void PropertyFolderView::updateControllerButtons()
{
    const bool known = CalibrateManager::get().countCPB() > 0;
    for (int id : {GET_FROM_CONTROLLER, SEND_TO_CONTROLLER})
        if (QWidget* button = getDlgItem(id))
            button->setVisible(known);
}

// With a controller at hand, OK offers to send the new set-up at once; the
// settings are taken over whether the transfer went through or not.
void PropertyFolderView::onOK()
{
    if (!controller().storeCurrentPage())
        return;
    if (CalibrateManager::get().countCPB() > 0)
        ConfigurationTransfer::sendToController(controller(), this);
    FolderDialog::onOK();
}
