#pragma once
// Menus and keyboard accelerators of a window, built from the menu and
// accelerator tables of the resource registry (platform/ResourceTables.h).
// Menu texts are translated as they are built; each command action carries
// its command id and reports it through the window's command handler.

#include "platform/AcceleratorTable.h"
#include "platform/MenuResource.h"

#include <QKeySequence>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kova {

class MenuBuilder {
public:
    using CommandHandler = std::function<void(int command)>;

    // Fills the menu bar with the pop-ups of the menu; false when the menu has no pop-up items.
    static bool buildMenuBar(QMenuBar* bar, const platform::MenuResource& menu, const CommandHandler& onCommand);
    // Fills a menu with items (a pop-up or a context menu).
    static void buildMenu(QMenu* target, const std::vector<platform::MenuItemResource>& items,
                          const CommandHandler& onCommand);

    // The command id an action built here carries; 0 for any other action or null.
    static int commandId(const QAction* action);
    // Gives an action made elsewhere (a toolbar button) its command id.
    static void setCommandId(QAction* action, int command);
    // The command action of that id in a menu tree, or null.
    static QAction* findCommand(const QWidget* menuOwner, int command);

    // Installs the accelerators as shortcuts of the window; answers how many
    // it installed (entries whose key has no equivalent are left out).
    static int installAccelerators(QWidget* window, const platform::AcceleratorTable& table,
                                   const CommandHandler& onCommand);
    // The key sequence of one accelerator; empty when the key has no equivalent.
    static QKeySequence keySequence(const platform::AcceleratorEntry& entry);

    // A menu text as shown: translated, without a translation marker.
    static QString menuText(const std::string& text);
};

} // namespace kova
