#pragma once
// Builds a menu in code from English message ids, each translated as it is
// added, so the whole menu shows in the language chosen at start-up. The
// entries are written as menu-template bytes (app/shell/MenuTemplate.h), and
// createMenu reads them back into the menu table that
// kova::MenuBuilder::buildMenuBar shows:
//
//   GetTextMenu menu;
//   menu.addItem("&File", 0, true);
//   menu.addItem("E&xit", 57665, false);
//   menu.endPopup();
//   menuBar->... MenuBuilder::buildMenuBar(bar, *menu.createMenu(), onCommand);

#include "app/shell/MenuTemplate.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class GetTextMenu {
public:
    static constexpr std::size_t INITIAL_SIZE = 2048;
    static constexpr int MAX_MENU_LEVEL = MenuTemplate::MAX_MENU_LEVEL;

    GetTextMenu();

    // Appends a pop-up (its id is ignored; the items that follow go into it
    // until endPopup) or a command item, with the translation of `text`.
    void addItem(const std::string& text, int id, bool popup);
    void addSeparator();
    // Closes the current pop-up: its last entry is marked as the end of its list.
    void endPopup();
    // The menu of what was added. A pop-up still open is a fault (logged) and
    // is closed here; nothing when the bytes cannot be read back (logged).
    std::optional<platform::MenuResource> createMenu();

    // The template bytes written so far (header and entries).
    std::vector<std::uint8_t> templateBytes() const;
    std::size_t capacity() const { return templateMaxSize; }
    int level() const { return currentItemLevel; }

private:
    void append(std::uint16_t option, const int* id, const std::wstring& text);
    void markEnd(int level);

    std::vector<std::uint8_t> buffer;
    std::size_t templateMaxSize = INITIAL_SIZE;
    std::size_t templateIndex = MenuTemplate::HEADER_SIZE;
    // Where the last entry of each open level begins; -1 while that level has none.
    std::array<long, MAX_MENU_LEVEL> lastItem{};
    int currentItemLevel = 0;
};
