#pragma once
// The problem markers the graph panes draw at flagged samples, 16 x 16 on
// white (the colour the panes leave out): 167 a stomach inflation on the
// ventilation curve and 306 a status-66 sample on the ECG curve, both pointing
// down at the sample from above; 168 a wrong hand position on the compression
// curve, pointing up at the sample from below.

#include "ButtonImages.h"

#include <vector>

namespace images {

std::vector<ButtonImage> markerImages();

} // namespace images
