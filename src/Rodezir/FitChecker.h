#pragma once
// Whether translated texts fit their controls: each control's text is
// measured in its font against its client area less margins that depend on
// its window class and style. A tool for whoever prepares a translation (the
// single checks, the sweep over every dialog and its report), plus
// fitControlToText, which sizes a control to its text.

#include "Rodezir/Geometry.h"
#include "Rodezir/ResourceHeader.h"

#include <cstdint>
#include <string>

class QWidget;

namespace kova {

// Margins in pixels around a control's text, whether it shows a measurable
// text, and whether the text wraps at the control's width.
struct TextMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool isText = false;
    bool wraps = false;
    friend bool operator==(const TextMargins&, const TextMargins&) = default;
};

// The window class ("Button", "Static", "Edit", ...) and style of a control.
struct ControlClass {
    std::string className;
    std::uint32_t style = 0;
};

inline constexpr std::uint32_t BS_MULTILINE = 0x2000;
inline constexpr std::uint32_t BS_PUSHLIKE = 0x1000;
inline constexpr std::uint32_t ES_AUTOVSCROLL = 0x40;

// textFits answers.
inline constexpr int TEXT_TOO_LARGE = 0;
inline constexpr int TEXT_FITS = 1;
inline constexpr int NOT_A_TEXT_CONTROL = 2;

// The margins of a class (compared without case) and style.
TextMargins textMarginsFor(const std::string& className, std::uint32_t style);

// The class and style a control was built with from its dialog's template;
// for a control the template does not name alone, what its widget kind stands for.
ControlClass getControlClass(const QWidget* control);
TextMargins getTextMargins(const QWidget* control);

// The size of the control's text in its font, unwrapped (wrap width 0) or
// broken into lines of the wrap width; each direction less 1, so an empty
// text measures -1 x -1.
SIZE getTextExtent(const QWidget* control, int wrapWidth);
std::string getWindowTextString(const QWidget* window);
SIZE getClientSize(const QWidget* window);
// The text of the nearest ancestor that has one; empty when none has.
std::string getAncestorCaption(const QWidget* window);

int textFits(const QWidget* control);
// Resizes the control, keeping its position, by its text extent and margins.
void fitControlToText(QWidget* control);

// One report line for a visible control whose text is too large, else empty.
std::string checkControl(const QWidget* window, const ResourceNameMap& names);
// The lines of every descendant of the dialog.
std::string checkDialog(const QWidget* dialog, const ResourceNameMap& names);
// Builds every dialog the map names "IDD_..." invisibly, translates it and
// reports its controls that are too large; empty when none is.
std::string checkAllDialogs(const ResourceNameMap& names, QWidget* mainWindow = nullptr);

} // namespace kova
