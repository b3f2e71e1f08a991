#pragma once
// The two pictures at the head of printed pages: 165, the station's banner
// (446 x 81, a heart with a pulse trace beside the name; the printouts use its
// left 411 x 80), and 166, a pair of hands over a chest (459 x 315; the
// printouts use its left 415 x 315). Both on white, so they print on paper.

#include "ButtonImages.h"

#include <vector>

namespace images {

std::vector<ButtonImage> printPictures();

} // namespace images
