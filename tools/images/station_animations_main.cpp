// station-animations: draws the station's animations and writes each as an
// AVI file named by its resource id into the given folder. The same bytes
// come out on every run.

#include "SearchAnimation.h"

#include "Rodezir/AviClip.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

kova::DibImage toDib(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    kova::DibImage dib;
    dib.width = image.width();
    dib.height = image.height();
    dib.pixels.reserve(static_cast<std::size_t>(dib.width) * dib.height);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            dib.pixels.push_back(0xFF000000u | (line[x] & 0xFFFFFF));
    }
    return dib;
}

bool writeClip(const std::vector<QImage>& frames, int frameMs, const std::string& folder, int id)
{
    std::vector<kova::DibImage> dibs;
    for (const QImage& frame : frames)
        dibs.push_back(toDib(frame));
    const std::vector<std::uint8_t> bytes = kova::AviClip::encode(dibs, static_cast<std::uint32_t>(frameMs) * 1000);
    const std::string path = folder + "/" + std::to_string(id);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out.good())
        return true;
    std::fprintf(stderr, "station-animations: could not write %s\n", path.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: station-animations <output folder>\n");
        return 2;
    }
    const bool ok = writeClip(images::searchAnimationFrames(), images::SEARCH_ANIMATION_FRAME_MS, argv[1],
                              images::SEARCH_ANIMATION_ID);
    return ok ? 0 : 1;
}
