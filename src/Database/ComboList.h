#pragma once
// The combo box a table fills with one of its columns, seen from the records
// core: the windowed layer hands in its combo box behind this interface.

#include <string>

class ComboList {
public:
    virtual ~ComboList() = default;
    // The selected item's text, or the edit text when nothing is selected.
    virtual std::string getText() = 0;
    virtual void clear() = 0;
    // Appends an item (a sorted combo box puts it in its place).
    virtual void addItem(const std::string& text) = 0;
    // Selects the item of that text again (no selection when it is empty or gone).
    virtual void selectString(const std::string& text) = 0;
};
