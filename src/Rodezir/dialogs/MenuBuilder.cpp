#include "Rodezir/dialogs/MenuBuilder.h"

#include "Rodezir/dialogs/DialogTranslation.h"
#include "gettext/Gettext.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include <array>

namespace kova {
namespace {

constexpr const char* COMMAND_PROPERTY = "kovaCommandId";

struct VirtualKey {
    unsigned short code;
    int key;
};

// Virtual-key codes of the keys the accelerator tables use; letters and
// digits are their own characters and need no row.
constexpr std::array<VirtualKey, 22> VIRTUAL_KEYS{{
    {0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},    {0x0D, Qt::Key_Return}, {0x1B, Qt::Key_Escape},
    {0x20, Qt::Key_Space},     {0x21, Qt::Key_PageUp}, {0x22, Qt::Key_PageDown}, {0x23, Qt::Key_End},
    {0x24, Qt::Key_Home},      {0x25, Qt::Key_Left},   {0x26, Qt::Key_Up},     {0x27, Qt::Key_Right},
    {0x28, Qt::Key_Down},      {0x2D, Qt::Key_Insert}, {0x2E, Qt::Key_Delete}, {0x6A, Qt::Key_Asterisk},
    {0x6B, Qt::Key_Plus},      {0x6D, Qt::Key_Minus},  {0x6E, Qt::Key_Period}, {0x6F, Qt::Key_Slash},
    {0x13, Qt::Key_Pause},     {0x2C, Qt::Key_Print},
}};

int qtKey(unsigned short code)
{
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        return code;
    if (code >= 0x70 && code <= 0x87) // F1 to F24
        return Qt::Key_F1 + (code - 0x70);
    if (code >= 0x60 && code <= 0x69) // the number pad's digits
        return Qt::Key_0 + (code - 0x60);
    for (const auto& entry : VIRTUAL_KEYS)
        if (entry.code == code)
            return entry.key;
    return 0;
}

} // namespace

QString MenuBuilder::menuText(const std::string& text)
{
    if (text.empty())
        return {};
    const std::string& marker = getTranslationMarker();
    const bool marked = text.compare(0, marker.size(), marker) == 0;
    return QString::fromStdWString(Gettext::translateString(marked ? text.substr(marker.size()) : text));
}

void MenuBuilder::buildMenu(QMenu* target, const std::vector<platform::MenuItemResource>& items,
                            const CommandHandler& onCommand)
{
    for (const auto& item : items) {
        if (item.isSeparator()) {
            target->addSeparator();
            continue;
        }
        if (item.isPopup()) {
            QMenu* popup = target->addMenu(menuText(item.text));
            popup->setEnabled(!(item.flags & platform::MF_GRAYED));
            buildMenu(popup, item.popup, onCommand);
            continue;
        }
        QAction* action = target->addAction(menuText(item.text));
        action->setProperty(COMMAND_PROPERTY, item.id);
        action->setEnabled(!(item.flags & platform::MF_GRAYED));
        if (item.flags & platform::MF_CHECKED) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        const int command = item.id;
        QObject::connect(action, &QAction::triggered, target, [onCommand, command] {
            if (onCommand)
                onCommand(command);
        });
    }
}

bool MenuBuilder::buildMenuBar(QMenuBar* bar, const platform::MenuResource& menu, const CommandHandler& onCommand)
{
    bool any = false;
    for (const auto& item : menu.items) {
        if (!item.isPopup())
            continue;
        QMenu* popup = bar->addMenu(menuText(item.text));
        popup->setEnabled(!(item.flags & platform::MF_GRAYED));
        buildMenu(popup, item.popup, onCommand);
        any = true;
    }
    return any;
}

int MenuBuilder::commandId(const QAction* action)
{
    return action ? action->property(COMMAND_PROPERTY).toInt() : 0;
}

void MenuBuilder::setCommandId(QAction* action, int command)
{
    if (action)
        action->setProperty(COMMAND_PROPERTY, command);
}

QAction* MenuBuilder::findCommand(const QWidget* menuOwner, int command)
{
    if (!menuOwner)
        return nullptr;
    const auto actions = menuOwner->findChildren<QAction*>();
    for (QAction* action : actions)
        if (action->property(COMMAND_PROPERTY).toInt() == command && command != 0)
            return action;
    return nullptr;
}

QKeySequence MenuBuilder::keySequence(const platform::AcceleratorEntry& entry)
{
    int key = 0;
    if (entry.flags & platform::FVIRTKEY) {
        key = qtKey(entry.key);
    } else if (entry.key >= 1 && entry.key <= 26) {
        // A control character stands for Ctrl and its letter.
        key = static_cast<int>(Qt::CTRL) | (Qt::Key_A + entry.key - 1);
    } else {
        key = QChar(entry.key).toUpper().unicode();
    }
    if (key == 0)
        return {};
    if (entry.flags & platform::FVIRTKEY) {
        if (entry.flags & platform::FSHIFT)
            key |= static_cast<int>(Qt::SHIFT);
        if (entry.flags & platform::FCONTROL)
            key |= static_cast<int>(Qt::CTRL);
        if (entry.flags & platform::FALT)
            key |= static_cast<int>(Qt::ALT);
    }
    return QKeySequence(key);
}

int MenuBuilder::installAccelerators(QWidget* window, const platform::AcceleratorTable& table,
                                     const CommandHandler& onCommand)
{
    int installed = 0;
    for (const auto& entry : table.entries) {
        const QKeySequence keys = keySequence(entry);
        if (keys.isEmpty())
            continue;
        auto* shortcut = new QShortcut(keys, window);
        shortcut->setContext(Qt::WindowShortcut);
        const int command = entry.command;
        QObject::connect(shortcut, &QShortcut::activated, window, [onCommand, command] {
            if (onCommand)
                onCommand(command);
        });
        ++installed;
    }
    return installed;
}

} // namespace kova
