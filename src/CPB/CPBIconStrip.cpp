#include "CPB/CPBIconStrip.h"

#include "Rodezir/DibImage.h"
#include "Rodezir/LogStream.h"
#include "platform/Resources.h"

#include <algorithm>

CPBIconStrip::CPBIconStrip(const std::uint8_t* bytes, std::size_t size, int side) : side_(std::max(side, 0))
{
    if (side_ == 0 || !bytes)
        return;
    auto image = kova::DibImage::decode(bytes, size);
    if (!image)
        return;
    width_ = image->width;
    height_ = image->height;
    pixels_ = std::move(image->pixels);
    count_ = std::min(width_ / side, ICON_COUNT);
}

CPBIconStrip CPBIconStrip::fromResource(int bitmapId, int side)
{
    const auto bytes = platform::loadResource(platform::ResourceType::Bitmap, bitmapId);
    if (!bytes) {
        LogStream::instance() << "Could not load the icon bitmap " << bitmapId << ": the controller's icons stay blank\n";
        return CPBIconStrip(side);
    }
    CPBIconStrip strip(bytes->data(), bytes->size(), side);
    if (strip.count() < ICON_COUNT)
        LogStream::instance() << "The icon bitmap " << bitmapId << " holds only " << strip.count() << " icons\n";
    return strip;
}

const CPBIconStrip& CPBIconStrip::forSide(int side)
{
    // Decoding a strip costs far more than a page, so each is decoded once.
    if (side == CPBIcon::LARGE_SIDE) {
        static const CPBIconStrip large = fromResource(LARGE_BITMAP, CPBIcon::LARGE_SIDE);
        return large;
    }
    static const CPBIconStrip small = fromResource(SMALL_BITMAP, CPBIcon::SMALL_SIDE);
    return small;
}

CPBIcon::Pixels CPBIconStrip::icon(int number) const
{
    constexpr std::uint32_t WHITE = 0xFFFFFFFFu;
    CPBIcon::Pixels icon{side_, side_, std::vector<std::uint32_t>(static_cast<std::size_t>(side_) * side_, WHITE)};
    if (!contains(number))
        return icon;
    const int rows = std::min(side_, height_);
    for (int y = 0; y < rows; ++y) {
        const auto from = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + number * side_;
        std::copy(from, from + side_, icon.argb.begin() + static_cast<std::ptrdiff_t>(y) * side_);
    }
    return icon;
}
