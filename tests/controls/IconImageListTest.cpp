// The event-icon lists cut from the generated strips, and the contact sheet
// of every icon in the three sizes for a person to judge.

#include "controls/IconImageList.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPainter>

#include <set>

namespace {

using kova::IconImageList;

bool isBlank(const QImage& icon, QRgb background)
{
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            if (icon.pixel(x, y) != background)
                return false;
    return true;
}

TEST(IconImageList, eachSizeHoldsAllIconsAtItsWidth)
{
    struct Case {
        int sizeIndex;
        int bitmapId;
        int width;
        int height;
    };
    const Case cases[] = {{0, 280, 16, 15}, {1, 279, 24, 24}, {2, 278, 32, 32}, {5, 280, 16, 15}, {-1, 280, 16, 15}};
    for (const Case& c : cases) {
        const IconImageList list(c.sizeIndex);
        EXPECT_EQ(list.bitmapId(), c.bitmapId) << c.sizeIndex;
        EXPECT_EQ(list.count(), 97) << c.sizeIndex;
        EXPECT_EQ(list.image(0).size(), QSize(c.width, c.height)) << c.sizeIndex;
        EXPECT_TRUE(list.image(97).isNull());
        EXPECT_TRUE(list.pixmap(-1).isNull());
    }
    EXPECT_EQ(IconImageList(5).image(42), IconImageList(0).image(42)) << "an unknown size index is the small list";
}

TEST(IconImageList, controllerSizesArePureBlackOnWhiteAndEveryIconIsItsOwn)
{
    for (int sizeIndex : {1, 2}) {
        const IconImageList list(sizeIndex);
        std::set<QByteArray> seen;
        for (int i = 0; i < list.count(); ++i) {
            const QImage icon = list.image(i).convertToFormat(QImage::Format_RGB32);
            int black = 0;
            for (int y = 0; y < icon.height(); ++y)
                for (int x = 0; x < icon.width(); ++x) {
                    const QRgb pixel = icon.pixel(x, y) & 0xFFFFFF;
                    ASSERT_TRUE(pixel == 0 || pixel == 0xFFFFFF) << "icon " << i << " size " << sizeIndex;
                    black += pixel == 0;
                }
            EXPECT_GT(black, icon.width()) << "icon " << i << " size " << sizeIndex << " is nearly empty";
            const QByteArray bytes(reinterpret_cast<const char*>(icon.constBits()), icon.sizeInBytes());
            EXPECT_TRUE(seen.insert(bytes).second) << "icon " << i << " size " << sizeIndex << " repeats another";
        }
    }
}

TEST(IconImageList, smallIconsAreTransparentWhereTheMaskColourIs)
{
    const IconImageList list(0);
    for (int i = 0; i < list.count(); ++i) {
        const QImage raw = list.image(i).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(isBlank(raw, IconImageList::MASK_COLOUR)) << "icon " << i;
        const QImage shown = list.pixmap(i).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < raw.height(); ++y)
            for (int x = 0; x < raw.width(); ++x)
                ASSERT_EQ(qAlpha(shown.pixel(x, y)) == 0, raw.pixel(x, y) == IconImageList::MASK_COLOUR)
                    << "icon " << i << " at " << x << "," << y;
    }
}

TEST(IconImageList, fillsAListWithEveryIconAndShowsOneInAPicture)
{
    const IconImageList list(0);
    QListWidget view;
    view.addItem(QStringLiteral("left over"));
    list.attachToListCtrl(&view);
    list.fillListCtrl(&view);
    ASSERT_EQ(view.count(), 97);
    for (int i : {0, 5, 96}) {
        EXPECT_TRUE(view.item(i)->text().isEmpty());
        EXPECT_EQ(view.item(i)->data(Qt::UserRole).toInt(), i);
        EXPECT_FALSE(view.item(i)->icon().isNull());
    }
    EXPECT_EQ(view.gridSize(), QSize(20, 20));
    EXPECT_EQ(view.palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));

    QLabel picture;
    list.setStaticIcon(&picture, 96);
    EXPECT_EQ(picture.pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              list.pixmap(96).toImage().convertToFormat(QImage::Format_RGB32));
}

// Every icon in the three sizes, enlarged three times, on the silver of the
// icon lists, with its number: written for a person to look at.
TEST(IconImageList, rendersTheContactSheet)
{
    constexpr int PER_ROW = 20;
    constexpr int ZOOM = 3;
    const IconImageList lists[] = {IconImageList(0), IconImageList(1), IconImageList(2)};
    const int rows = (97 + PER_ROW - 1) / PER_ROW;
    const int height = 3 * (rows * (32 * ZOOM + 18) + 24);
    QImage sheet(PER_ROW * (32 * ZOOM + 8) + 8, height, QImage::Format_RGB32);
    sheet.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    int top = 4;
    for (const IconImageList& list : lists) {
        painter.setPen(Qt::black);
        painter.drawText(8, top + 12, QStringLiteral("bitmap %1: %2 px").arg(list.bitmapId()).arg(list.imageWidth()));
        top += 20;
        for (int i = 0; i < list.count(); ++i) {
            const int x = 8 + (i % PER_ROW) * (32 * ZOOM + 8);
            const int y = top + (i / PER_ROW) * (32 * ZOOM + 18);
            const QPixmap icon = list.pixmap(i);
            painter.drawText(x, y + 11, QString::number(i));
            painter.drawPixmap(QRect(x, y + 14, icon.width() * ZOOM, icon.height() * ZOOM), icon);
        }
        top += rows * (32 * ZOOM + 18) + 4;
    }
    painter.end();
    const auto path = kovatest::binaryDir() / "tests" / "controls" / "icon-contact-sheet.png";
    ASSERT_TRUE(sheet.save(QString::fromStdString(path.string())));
    EXPECT_FALSE(isBlank(sheet.copy(8, 24, 32 * ZOOM, 15 * ZOOM), qRgb(0xC0, 0xC0, 0xC0)));
}

} // namespace
