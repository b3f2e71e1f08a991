#include "controls/reportctrl/ReportCtrlShared.h"

#include "controls/reportctrl/ReportTypes.h"

#include <Qt>

namespace kova::reportctrl {

namespace {
struct KeyMap {
    int qtKey;
    int vk;
};
const KeyMap KEYS[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},   {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},      {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},    {Qt::Key_Down, VK_DOWN},
};
} // namespace


int virtualKey(int qtKey)
{
    for (const KeyMap& k : KEYS)
        if (k.qtKey == qtKey)
            return k.vk;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    return 0;
}

std::string cutUtf8(std::string text, std::size_t room)
{
    if (text.size() <= room)
        return text;
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
    return text;
}

} // namespace kova::reportctrl
