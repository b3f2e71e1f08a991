#pragma once
// The system colours the station's own controls draw with where Qt's style
// has no equal. The grey text of a disabled caption is the classic system
// grey: the style's own disabled text is meant for plain backgrounds and all
// but vanishes on the light upper half of a rounded button.

#include <QRgb>

class QApplication;

namespace platform {

inline constexpr QRgb GRAY_TEXT = 0x6D6D6D;

// Gives the application's palette the system's grey text for every disabled
// caption (text, window text and button text).
void applySystemColours(QApplication& application);

} // namespace platform
