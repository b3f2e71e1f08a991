#include "app/surveillance/SurveillanceTileGeometry.h"

#include <algorithm>

namespace {

kova::RECT rectAt(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

} // namespace

SurveillanceTileGeometry SurveillanceTileGeometry::place(int x, int y, int w, int h, int labelHeight,
                                                         int axisHeight, bool withEcg)
{
    const int L = labelHeight;
    const int A = axisHeight;
    SurveillanceTileGeometry tile;
    tile.withEcg = withEcg;
    // The caption takes the tile's whole width: the session's title and both
    // trainees' names need it, and the rate label sits at the bottom.
    tile.caption = rectAt(x, y, std::max(w, 0), L);
    int compressionTop = 0;
    int paneHeight = 0;
    if (withEcg) {
        // The two big panes take two fifths each of what the labels and the
        // axis leave; the ECG pane one fifth, with a label's height below it.
        paneHeight = 2 * ((h - 2 * L - A) / 5);
        const int ecgHeight = (h - A - L) / 5;
        const int axisTop = y + L + paneHeight;
        const int ecgTop = axisTop + A;
        compressionTop = ecgTop + ecgHeight + L;
        if (w >= 1) {
            tile.axis = rectAt(x, axisTop, w, A);
            if (paneHeight > 0) {
                tile.ventilation = rectAt(x, y + L, w, paneHeight);
                tile.compression = rectAt(x, compressionTop, w, paneHeight);
            }
            if (ecgHeight > 0)
                tile.ecg = rectAt(x, ecgTop, w, ecgHeight);
        }
    } else {
        paneHeight = (h - A - L) / 2;
        const int axisTop = y + L + paneHeight;
        compressionTop = axisTop + A;
        if (w >= 1) {
            tile.axis = rectAt(x, axisTop, w, A);
            if (paneHeight > 0) {
                tile.ventilation = rectAt(x, y + L, w, paneHeight);
                tile.compression = rectAt(x, compressionTop, w, paneHeight);
            }
        }
    }
    tile.rate = rectAt(x + w - RATE_WIDTH, compressionTop + paneHeight - 1, RATE_WIDTH, L - 1);
    return tile;
}
