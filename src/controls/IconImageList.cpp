#include "controls/IconImageList.h"

#include "Rodezir/LogStream.h"
#include "platform/Resources.h"

#include <QBitmap>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

#include <array>

namespace kova {
namespace {

struct StripSize {
    int bitmapId;
    int width;
};

constexpr std::array<StripSize, 3> STRIPS = {{{280, 16}, {279, 24}, {278, 32}}};
constexpr int ITEM_SPACING = 20;
constexpr QRgb LIST_BACKGROUND = qRgb(0xC0, 0xC0, 0xC0);

int normalisedIndex(int sizeIndex)
{
    return sizeIndex >= 0 && sizeIndex < static_cast<int>(STRIPS.size()) ? sizeIndex : 0;
}

void setBackground(QAbstractItemView* list)
{
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, QColor(LIST_BACKGROUND));
    palette.setColor(QPalette::AlternateBase, QColor(LIST_BACKGROUND));
    palette.setColor(QPalette::Window, QColor(LIST_BACKGROUND));
    list->setPalette(palette);
    list->setAutoFillBackground(true);
}

} // namespace

const QRgb IconImageList::MASK_COLOUR = qRgb(0x15, 0x02, 0x03);

IconImageList::IconImageList(int sizeIndex) : sizeIndex_(normalisedIndex(sizeIndex))
{
    const StripSize strip = STRIPS[static_cast<std::size_t>(sizeIndex_)];
    const auto bytes = platform::loadResource(platform::ResourceType::Bitmap, strip.bitmapId);
    QImage image;
    if (!bytes || !image.loadFromData(bytes->data(), static_cast<int>(bytes->size()))) {
        LogStream::instance() << "Could not load the icon bitmap " << strip.bitmapId << "\n";
        return;
    }
    image = image.convertToFormat(QImage::Format_RGB32);
    height_ = image.height();
    // The list holds exactly the strip's icons and never grows.
    const int available = image.width() / strip.width;
    const int count = std::min(available, ICON_COUNT);
    if (count < ICON_COUNT)
        LogStream::instance() << "The icon bitmap " << strip.bitmapId << " holds only " << count << " icons\n";
    icons_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        icons_.push_back(image.copy(i * strip.width, 0, strip.width, height_));
}

IconImageList::~IconImageList() = default;

int IconImageList::bitmapId() const { return STRIPS[static_cast<std::size_t>(sizeIndex_)].bitmapId; }

int IconImageList::imageWidth() const { return STRIPS[static_cast<std::size_t>(sizeIndex_)].width; }

QImage IconImageList::image(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return icons_[static_cast<std::size_t>(index)];
}

QPixmap IconImageList::pixmap(int index) const
{
    const QImage icon = image(index);
    if (icon.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(icon);
    pixmap.setMask(QBitmap::fromImage(icon.createMaskFromColor(MASK_COLOUR, Qt::MaskInColor)));
    return pixmap;
}

void IconImageList::attachToListCtrl(QAbstractItemView* list) const
{
    if (!list)
        return;
    list->setIconSize(QSize(imageWidth(), std::max(height_, 1)));
    setBackground(list);
    if (auto* icons = qobject_cast<QListWidget*>(list)) {
        icons->setViewMode(QListView::IconMode);
        icons->setMovement(QListView::Static);
        icons->setResizeMode(QListView::Adjust);
        icons->setGridSize(QSize(ITEM_SPACING, ITEM_SPACING));
        icons->setUniformItemSizes(true);
    } else if (auto* rows = qobject_cast<QTreeWidget*>(list)) {
        // A list view in report form: the icon column is as narrow as its picture allows.
        rows->setRootIsDecorated(false);
        rows->setColumnWidth(0, imageWidth() + 4);
    }
}

void IconImageList::fillListCtrl(QAbstractItemView* list) const
{
    if (auto* icons = qobject_cast<QListWidget*>(list)) {
        icons->clear();
        for (int i = 0; i < ICON_COUNT; ++i) {
            auto* item = new QListWidgetItem(QIcon(pixmap(i)), QString(), icons);
            item->setData(Qt::UserRole, i);
        }
    } else if (auto* rows = qobject_cast<QTreeWidget*>(list)) {
        rows->clear();
        for (int i = 0; i < ICON_COUNT; ++i) {
            auto* item = new QTreeWidgetItem(rows);
            item->setIcon(0, QIcon(pixmap(i)));
            item->setData(0, Qt::UserRole, i);
        }
    }
}

void IconImageList::setStaticIcon(QLabel* picture, int index) const
{
    if (picture)
        picture->setPixmap(pixmap(index));
}

} // namespace kova
