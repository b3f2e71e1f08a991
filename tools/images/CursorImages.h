#pragma once
// The zoom cursors of the graph panes: a magnifier with a plus (1025, zoom
// in) and with a minus (1026, zoom out), 32 x 32 with transparency. Their
// hot spot is the centre of the lens, at (12, 12).

#include "ButtonImages.h"

#include <vector>

namespace images {

inline constexpr int CURSOR_HOT_SPOT = 12;

std::vector<ButtonImage> cursorImages();

} // namespace images
