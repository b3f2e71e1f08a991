#include "app/shell/GetTextMenu.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"

namespace {

constexpr std::uint16_t MF_SEPARATOR_OPTION = 0;

} // namespace

GetTextMenu::GetTextMenu() : buffer(INITIAL_SIZE, 0)
{
    KOVA_ASSERT(templateMaxSize>MenuTemplate::HEADER_SIZE);
    lastItem.fill(-1);
}

void GetTextMenu::addItem(const std::string& text, int id, bool popup)
{
    const std::wstring translated = Gettext::translateString(text);
    if (popup) {
        append(MenuTemplate::MF_POPUP, nullptr, translated);
        ++currentItemLevel;
        KOVA_ASSERT(currentItemLevel<MAX_MENU_LEVEL);
        if (currentItemLevel < MAX_MENU_LEVEL)
            lastItem[static_cast<std::size_t>(currentItemLevel)] = -1;
        return;
    }
    append(0, &id, translated);
}

void GetTextMenu::addSeparator()
{
    const int none = 0;
    append(MF_SEPARATOR_OPTION, &none, std::wstring());
}

void GetTextMenu::endPopup()
{
    // A list must end in a marked entry: an empty pop-up gets a separator to carry the mark.
    if (currentItemLevel > 0 && currentItemLevel < MAX_MENU_LEVEL
        && lastItem[static_cast<std::size_t>(currentItemLevel)] < 0)
        addSeparator();
    markEnd(currentItemLevel);
    --currentItemLevel;
    KOVA_ASSERT(currentItemLevel>=0);
    if (currentItemLevel < 0)
        currentItemLevel = 0;
}

std::optional<platform::MenuResource> GetTextMenu::createMenu()
{
    KOVA_ASSERT(currentItemLevel==0);
    // A pop-up left open still gets its end marks, so the rest of the menu is kept.
    while (currentItemLevel > 0)
        endPopup();
    if (lastItem[0] < 0)
        return platform::MenuResource{};
    markEnd(0);
    std::optional<platform::MenuResource> menu = MenuTemplate::read(buffer.data(), templateIndex);
    const platform::MenuResource* hMenu = menu ? &*menu : nullptr;
    KOVA_ASSERT(hMenu!=0);
    return menu;
}

std::vector<std::uint8_t> GetTextMenu::templateBytes() const
{
    return {buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(templateIndex)};
}

void GetTextMenu::append(std::uint16_t option, const int* id, const std::wstring& text)
{
    std::vector<std::uint8_t> entry;
    auto word = [&entry](unsigned value) {
        entry.push_back(static_cast<std::uint8_t>(value & 0xFF));
        entry.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    };
    word(option);
    if (id)
        word(static_cast<unsigned>(*id));
    appendUtf16le(entry, text);
    word(0);

    // One byte always stays free behind the entries.
    while (templateIndex + entry.size() >= templateMaxSize)
        templateMaxSize *= 2;
    buffer.resize(templateMaxSize, 0);
    std::copy(entry.begin(), entry.end(), buffer.begin() + static_cast<std::ptrdiff_t>(templateIndex));
    if (currentItemLevel < MAX_MENU_LEVEL)
        lastItem[static_cast<std::size_t>(currentItemLevel)] = static_cast<long>(templateIndex);
    templateIndex += entry.size();
    KOVA_ASSERT(templateIndex < templateMaxSize);
}

void GetTextMenu::markEnd(int level)
{
    // Too deep a level has no entry to mark; the template then does not read
    // back and createMenu reports it.
    if (level < 0 || level >= MAX_MENU_LEVEL)
        return;
    const long position = lastItem[static_cast<std::size_t>(level)];
    if (position < 0)
        return;
    buffer[static_cast<std::size_t>(position)] |= MenuTemplate::MF_END;
}
