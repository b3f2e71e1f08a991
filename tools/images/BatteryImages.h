#pragma once
// The live graph panel's battery pictures: empty (307), one to four bars
// (289 to 292) and not available (293, the letters N/A), on silver, which
// the panel maps to the system's face colour.

#include "ButtonImages.h"

#include <vector>

namespace images {

std::vector<ButtonImage> batteryImages();

} // namespace images
