#pragma once
// The state pictures of the station's bitmap buttons (play, pause, zoom,
// record navigation, row moves, remove, sort and print): normal, pressed, focused
// and disabled, each with its bitmap resource id. The pressed and focused
// pictures paint their face in pure cyan and yellow on silver, which the
// button maps to its light-blue face and the system's face colour.

#include <QImage>

#include <vector>

namespace images {

struct ButtonImage {
    int id;
    QImage image;
};

std::vector<ButtonImage> buttonImages();

} // namespace images
