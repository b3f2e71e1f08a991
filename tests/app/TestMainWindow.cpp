#include "TestMainWindow.h"

#include "Rodezir/dialogs/MenuBuilder.h"
#include "app/shell/GetTextMenu.h"

#include <QMenuBar>

namespace kovatest {

TestMainWindow::TestMainWindow() : client_(new kova::MdiClientWnd(this))
{
    setCentralWidget(client_);
    resize(900, 640);
    const auto onCommand = [this](int command) { commands_.push_back(command); };

    GetTextMenu menu;
    menu.addItem("&File", 0, true);
    menu.addItem("&New session...", ID_NEW_SESSION, false);
    menu.addSeparator();
    menu.addItem("E&xit", 57665, false);
    menu.endPopup();
    menu.addItem("&Tools", 0, true);
    menu.addItem("&Calibrate...", ID_CALIBRATE, false);
    menu.endPopup();
    if (const auto built = menu.createMenu())
        kova::MenuBuilder::buildMenuBar(menuBar(), *built, onCommand);

    platform::AcceleratorTable accelerators;
    accelerators.entries = {
        {platform::FVIRTKEY | platform::FCONTROL, 'N', ID_NEW_SESSION},
        {platform::FVIRTKEY, 0x74, ID_CALIBRATE}, // F5
    };
    kova::MenuBuilder::installAccelerators(this, accelerators, onCommand);
}

} // namespace kovatest
