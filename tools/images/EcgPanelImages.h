#pragma once
// The pictures of the ECG rhythm panel: its blue background (297) and the
// faces of its buttons, a key with a lamp in its upper half that is white
// (302), dark (303, the commands), green (304, a chosen rhythm) or amber
// (305, an option that is on). The lower half stays the panel's blue: the
// button's two caption lines lie over it.

#include "ButtonImages.h"

#include <vector>

namespace images {

std::vector<ButtonImage> ecgPanelImages();

} // namespace images
