#include "CPB/CPBIconStrip.h"

#include "controls/IconImageList.h"

#include <gtest/gtest.h>

namespace {

// The controller's icons come from the same strips the windows show,
// decoded without a window system.
TEST(ControllerIconStrip, holdsThePicturesOfTheIconList)
{
    const struct {
        int sizeIndex;
        int side;
    } sizes[] = {{1, 24}, {2, 32}};
    for (const auto& size : sizes) {
        const kova::IconImageList list(size.sizeIndex);
        const CPBIconStrip& strip = CPBIconStrip::forSide(size.side);
        ASSERT_EQ(list.count(), CPBIconStrip::ICON_COUNT);
        ASSERT_EQ(strip.count(), CPBIconStrip::ICON_COUNT);
        ASSERT_EQ(&strip, &CPBIconStrip::forSide(size.side)); // made once and kept
        int black = 0;
        for (int n = 0; n < strip.count(); ++n) {
            const QImage image = list.image(n);
            const CPBIcon::Pixels icon = strip.icon(n);
            for (int y = 0; y < size.side; ++y)
                for (int x = 0; x < size.side; ++x) {
                    const bool listBlack = (image.pixel(x, y) & 0xFFFFFF) == 0;
                    ASSERT_EQ(icon.isBlack(x, y), listBlack) << "icon " << n << " at " << x << "," << y;
                    black += listBlack;
                }
        }
        // Pictures, not an empty strip.
        EXPECT_GT(black, strip.count() * 20) << size.side;
    }
}

} // namespace
