#include "app/livepanel/LiveGraphLayout.h"

#include <algorithm>

namespace {

using Rect = LiveGraphLayout::Rect;

std::optional<Rect> pane(int x, int y, int width, int height)
{
    if (width < 1 || height < 1)
        return std::nullopt;
    return Rect{x, y, width, height};
}

} // namespace

LiveGraphLayout::Screen LiveGraphLayout::screen(const Input& in)
{
    Screen out;
    if (in.clientWidth < 1 || in.clientHeight < 1)
        return out;
    out.placed = true;
    const int left = in.labelLeft;
    const int w = in.clientWidth - left;
    const int labelWidth = (3 * w) / 5;
    const int rh = std::max(in.textHeight, in.rateLabelHeight);
    const int tb = in.toolbarsShown ? in.toolbarHeight : 0;
    const int sb = in.scrollBarHeight + 1;

    out.ventilationLabel = {left, 0, labelWidth, in.textHeight};
    out.positionLabel = {left + labelWidth, 0, w - labelWidth, in.rateLabelHeight};
    if (in.toolbarsShown)
        out.upperToolbar = Rect{left, rh + 3, w, tb - 3};

    int y = in.clientHeight;
    if (in.scrollBarShown) {
        y -= sb;
        out.scrollBar = Rect{left, y + 1, w, sb - 1};
    }
    y -= rh;
    out.compressionLabel = {left, y, labelWidth, in.textHeight};
    out.rateLabel = {left + labelWidth, y, w - labelWidth, in.rateLabelHeight};
    y -= tb;
    if (in.toolbarsShown)
        out.lowerToolbar = Rect{left, y + 3, w, tb - 3};

    const int top = rh + tb;
    const int ah = in.axisHeight;
    if (!in.ecg) {
        const int h = (y - top - ah) / 2;
        out.axis = {left, top + h, w, ah};
        out.ventilation = pane(left, top, w, h);
        out.compression = pane(left, top + h + ah, w, h);
        return out;
    }
    const int q = (y - 2 * ah - top) / 5;
    out.ventilation = pane(left, top, w, 2 * q);
    out.axis = {left, top + 2 * q, w, ah};
    out.ecgPane = pane(left, top + 2 * q + ah, w, q);
    // A band of the axis's height stays free under the ECG pane.
    out.compression = pane(left, top + 3 * q + 2 * ah, w, 2 * q);
    return out;
}

LiveGraphLayout::Paper LiveGraphLayout::paper(const Box& area, int axisHeight, bool ecg)
{
    const int ah = axisHeight;
    const int part = (area.bottom - area.top - ah) / (ecg ? 3 : 2);
    Paper out;
    out.ventilation = {area.left, area.top, area.right, area.top + part};
    out.compression = {area.left, area.bottom - part, area.right, area.bottom};
    out.axis = {area.left, area.top + part, area.right, area.bottom - part};
    if (ecg) {
        out.ecgPane = Box{area.left, area.top + part + ah, area.right, area.bottom - part - ah};
        out.axisFrame = {area.left, area.top + part, area.right, area.top + part + ah - 1};
        out.ecgBandFrame = Box{area.left, area.bottom - part - ah, area.right, area.bottom - part - 1};
    } else {
        out.axisFrame = {area.left, area.top + part, area.right, area.bottom - part - 1};
    }
    return out;
}

bool LiveGraphLayout::withinLimits(const Rect& rect)
{
    const auto inRange = [](int v) { return v >= 0 && v <= COORDINATE_LIMIT; };
    return inRange(rect.x) && inRange(rect.y) && rect.width >= 0 && rect.width < COORDINATE_LIMIT
           && rect.height >= 0 && rect.height < COORDINATE_LIMIT;
}
