#pragma once
// One control of a configuration page bound to one field of the settings
// record, with the bounds its value must keep. Each page declares its
// controls once, in a table of these in the order they are validated;
// loading, storing and validating walk that table.

#include <cstdint>
#include <string>
#include <variant>

class PropertyModel;

struct PageField {
    enum class Kind {
        Check,         // check box: a flag
        Choice,        // radio group from its first button: the first means true, the second false
        ComboChoice,   // drop list: the item with data 0 means true, data 1 false
        Number,        // edit holding a number within [low, high]
        Integer,       // edit holding an integer within [low, high]
        Text,          // edit holding a wide text of the record
        ComboText,     // combo box whose text names a record (an algorithm)
        LanguageCombo, // language list of a controller language slot
        IconCombo      // event-icon list of an icon slot: the item index is the picture
    };
    using Field = std::variant<bool PropertyModel::*, double PropertyModel::*, std::int32_t PropertyModel::*,
                               std::wstring PropertyModel::*, std::string PropertyModel::*, int>;

    static PageField check(int id, bool PropertyModel::*flag) { return {Kind::Check, id, flag}; }
    static PageField choice(int firstId, bool PropertyModel::*flag) { return {Kind::Choice, firstId, flag}; }
    static PageField comboChoice(int id, bool PropertyModel::*flag) { return {Kind::ComboChoice, id, flag}; }
    static PageField number(int id, double PropertyModel::*value, double low, double high)
    {
        return {Kind::Number, id, value, low, high};
    }
    static PageField integer(int id, std::int32_t PropertyModel::*value, int low, int high)
    {
        return {Kind::Integer, id, value, double(low), double(high)};
    }
    static PageField text(int id, std::wstring PropertyModel::*value) { return {Kind::Text, id, value}; }
    static PageField comboText(int id, std::string PropertyModel::*name) { return {Kind::ComboText, id, name}; }
    static PageField languageCombo(int id, int slot) { return {Kind::LanguageCombo, id, slot}; }
    static PageField iconCombo(int id, int slot) { return {Kind::IconCombo, id, slot}; }

    Kind kind;
    int id;
    // The record's member, or the slot for the language and icon lists.
    Field field;
    double low = 0;
    double high = 0;
};
