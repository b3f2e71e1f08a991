#pragma once
// What the source files of the report list share: the slots of its system
// colours, the width of a dialog frame, the translation of Qt keys into the
// virtual keys its notifications carry, and its UTF-8 texts as Qt texts.

#include <QString>

#include <cstddef>
#include <string>

namespace kova::reportctrl {

inline constexpr int DLG_FRAME = 3; // SM_CYDLGFRAME

// The slots of the control's system colours, in the order setDefaultColors fills them.
enum SystemColour {
    EMPTY_BACK,
    BACK,
    SELECTED_BACK,
    SELECTED_BACK_NO_FOCUS,
    TEXT,
    SELECTED_TEXT,
    SELECTED_TEXT_NO_FOCUS,
    GRID,
    ENTRY_ROW,
    ENTRY_SHADOW,
    ENTRY_HIGHLIGHT,
    ENTRY_DARK_SHADOW,
};

// The virtual key of a Qt key; 0 for a key the control does not know.
int virtualKey(int qtKey);

inline QString qtext(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string narrow(const QString& text) { return text.toUtf8().toStdString(); }

// Keeps at most `room` bytes without splitting a character.
std::string cutUtf8(std::string text, std::size_t room);

} // namespace kova::reportctrl
