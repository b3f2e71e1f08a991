#pragma once
// Translation of dialogs after they are built. Dialog texts are written in
// English; every caption or control text that is to appear translated begins
// with the translation marker "¤" (U+00A4). translateDialog replaces each
// marked text of a window and all its descendants by the translation of what
// follows the marker, so the marker never reaches the screen. Texts without
// the marker (numbers, sample values, texts the code sets) are left alone.

#include <functional>
#include <string>

class QWidget;

namespace kova {

// The longest window text that is read for translation, in characters.
inline constexpr std::size_t MAX_TRANSLATED_TEXT = 1023;
inline constexpr wchar_t TRANSLATION_MARKER = L'\u00A4';

// The marker in narrow (UTF-8) form and its length in bytes.
const std::string& getTranslationMarker();
std::size_t getTranslationMarkerLength();

// Translates the window's own text and that of every descendant.
void translateDialog(QWidget* window);
// Translates one window's text when it is marked.
void translateWindowText(QWidget* window);

// The translation of an English message id. By default the user interface's
// message catalog; tests and tools may put another in its place (an empty
// function restores the default).
using DialogTranslator = std::function<std::wstring(const std::string& msgid)>;
void setDialogTranslator(DialogTranslator translator);

} // namespace kova
