#include "Rodezir/dialogs/LayoutSpacer.h"

namespace kova {

LayoutSpacer::LayoutSpacer(int width, int height) : width_(width), height_(height)
{
    bounds = {0, 0, width, height};
}

void LayoutSpacer::setup(const RECT& rect)
{
    setupRect = rect;
    maximumRect = {rect.left, rect.top, 10000, 10000};
    bounds = bounds.offset(rect.left, rect.top);
}

} // namespace kova
