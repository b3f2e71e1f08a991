#pragma once
// The frames of the animation the manikin search window plays while it
// searches and calibrates (AVI 156): a station on the left, a training
// manikin on the right, and signals travelling along the cable between them.

#include <QColor>
#include <QImage>

#include <vector>

namespace images {

// The background of every frame, which the animation control makes transparent.
const QColor ANIMATION_BACKGROUND(240, 240, 240);
inline constexpr int SEARCH_ANIMATION_ID = 156;
inline constexpr int SEARCH_ANIMATION_FRAME_MS = 60;

std::vector<QImage> searchAnimationFrames();

} // namespace images
