#pragma once
// The 97 event pictograms of the station, drawn on the 32 x 32 unit grid of an
// IconCanvas. Icons 0 to 5 and 96 are the scenario's default events (phone,
// shake and shout, pulse, airway, breathing, head tilt, own safety); the rest
// are the other steps a CPR course registers.

namespace images {

class IconCanvas;

constexpr int EVENT_ICON_COUNT = 97;

void drawEventIcon(const IconCanvas& canvas, int index);

} // namespace images
