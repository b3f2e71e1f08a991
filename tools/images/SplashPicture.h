#pragma once
// The splash launcher's picture (bitmap 129): the station's name under a
// heart with a pulse line and the hands' downward push of a compression.

#include <QImage>

namespace images {

inline constexpr int SPLASH_WIDTH = 410;
inline constexpr int SPLASH_HEIGHT = 520;

QImage drawSplashPicture();

} // namespace images
