#include "Rodezir/AviClip.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

namespace kova {
namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::size_t INFO_HEADER_SIZE = 40;
constexpr std::size_t MAIN_HEADER_SIZE = 56;
constexpr std::size_t STREAM_HEADER_SIZE = 56;
constexpr std::uint32_t AVIF_HASINDEX = 0x10;
constexpr std::uint32_t AVIIF_KEYFRAME = 0x10;

std::uint32_t readU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
           | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool isFourCc(const std::uint8_t* p, std::string_view code)
{
    return std::memcmp(p, code.data(), 4) == 0;
}

// A chunk inside a byte range: its id, and its data within the range.
struct Chunk {
    const std::uint8_t* id = nullptr;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// Walks the chunks of a range, each padded to an even size; stops at the
// first chunk that does not fit.
class ChunkReader {
public:
    ChunkReader(const std::uint8_t* begin, std::size_t size) : at_(begin), left_(size) {}

    bool next(Chunk& chunk)
    {
        if (left_ < 8)
            return false;
        const std::size_t size = readU32(at_ + 4);
        if (size > left_ - 8)
            return false;
        chunk = {at_, at_ + 8, size};
        const std::size_t step = 8 + size + (size & 1);
        if (step >= left_) {
            left_ = 0;
        } else {
            at_ += step;
            left_ -= step;
        }
        return true;
    }

private:
    const std::uint8_t* at_;
    std::size_t left_;
};

// A LIST chunk of that kind: its contents after the kind.
bool isList(const Chunk& chunk, std::string_view kind)
{
    return isFourCc(chunk.id, "LIST") && chunk.size >= 4 && isFourCc(chunk.data, kind);
}

struct VideoStream {
    std::vector<std::uint8_t> format; // the bitmap info header and its colour table
    int width = 0;
    int height = 0;
    bool found = false;
};

// The first video stream of the header list; a stream list that is not video is skipped.
bool readHeaderList(const Chunk& list, std::uint32_t& microsecondsPerFrame, VideoStream& stream)
{
    ChunkReader reader(list.data + 4, list.size - 4);
    Chunk chunk;
    bool mainHeader = false;
    while (reader.next(chunk)) {
        if (isFourCc(chunk.id, "avih") && chunk.size >= MAIN_HEADER_SIZE) {
            microsecondsPerFrame = readU32(chunk.data);
            mainHeader = true;
        } else if (isList(chunk, "strl") && !stream.found) {
            ChunkReader streamReader(chunk.data + 4, chunk.size - 4);
            Chunk part;
            bool video = false;
            while (streamReader.next(part)) {
                if (isFourCc(part.id, "strh") && part.size >= STREAM_HEADER_SIZE)
                    video = isFourCc(part.data, "vids");
                else if (isFourCc(part.id, "strf") && video && part.size >= INFO_HEADER_SIZE) {
                    const std::uint8_t* header = part.data;
                    if (readU32(header) < INFO_HEADER_SIZE || readU32(header + 16) != BI_RGB)
                        return false;
                    stream.width = static_cast<int>(readU32(header + 4));
                    const auto height = static_cast<std::int32_t>(readU32(header + 8));
                    if (height == INT32_MIN)
                        return false;
                    stream.height = height < 0 ? -height : height;
                    stream.format.assign(part.data, part.data + part.size);
                    stream.found = true;
                }
            }
        }
    }
    return mainHeader && stream.found && stream.width > 0 && stream.height > 0;
}

// Frame data of stream 0: "00db" (uncompressed) or "00dc".
bool isFrameChunk(const Chunk& chunk)
{
    return chunk.id[0] == '0' && chunk.id[1] == '0' && chunk.id[2] == 'd'
           && (chunk.id[3] == 'b' || chunk.id[3] == 'c');
}

// Decodes one frame's bits behind the stream's format; false when it breaks a limit or the stream's size.
bool addFrame(const Chunk& chunk, const VideoStream& stream, std::vector<std::uint8_t>& bitmap, AviClip& clip)
{
    const std::int64_t framePixels = static_cast<std::int64_t>(stream.width) * stream.height;
    if (clip.frames.size() >= AviClip::MAX_FRAMES
        || framePixels * static_cast<std::int64_t>(clip.frames.size() + 1) > AviClip::MAX_TOTAL_PIXELS)
        return false;
    bitmap.resize(stream.format.size());
    bitmap.insert(bitmap.end(), chunk.data, chunk.data + chunk.size);
    auto frame = DibImage::decode(bitmap.data(), bitmap.size());
    if (!frame || frame->width != stream.width || frame->height != stream.height)
        return false;
    clip.frames.push_back(std::move(*frame));
    return true;
}

bool readFrames(const Chunk& movie, const VideoStream& stream, AviClip& clip)
{
    std::vector<std::uint8_t> bitmap(stream.format);
    ChunkReader reader(movie.data + 4, movie.size - 4);
    Chunk chunk;
    while (reader.next(chunk)) {
        if (isList(chunk, "rec ")) {
            // A record list groups chunks; its frames count like the others.
            ChunkReader inner(chunk.data + 4, chunk.size - 4);
            Chunk part;
            while (inner.next(part))
                if (isFrameChunk(part) && !addFrame(part, stream, bitmap, clip))
                    return false;
        } else if (isFrameChunk(chunk) && !addFrame(chunk, stream, bitmap, clip)) {
            return false;
        }
    }
    return !clip.frames.empty();
}

void putU16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putFourCc(std::vector<std::uint8_t>& out, std::string_view code)
{
    out.insert(out.end(), code.begin(), code.begin() + 4);
}

void setU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Opens a chunk (or a list with its kind); closeChunk writes its size and pads it.
std::size_t openChunk(std::vector<std::uint8_t>& out, std::string_view id, std::string_view kind = {})
{
    putFourCc(out, id);
    const std::size_t sizeAt = out.size();
    putU32(out, 0);
    if (!kind.empty())
        putFourCc(out, kind);
    return sizeAt;
}

void closeChunk(std::vector<std::uint8_t>& out, std::size_t sizeAt)
{
    setU32(out, sizeAt, static_cast<std::uint32_t>(out.size() - sizeAt - 4));
    if (out.size() & 1)
        out.push_back(0);
}

std::vector<std::uint8_t> frameBits(const DibImage& frame)
{
    // Bottom-up rows of blue, green, red, each padded to four bytes.
    const std::size_t stride = (static_cast<std::size_t>(frame.width) * 3 + 3) & ~std::size_t(3);
    std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(frame.height), 0);
    for (int y = 0; y < frame.height; ++y) {
        std::uint8_t* row = bits.data() + stride * static_cast<std::size_t>(frame.height - 1 - y);
        for (int x = 0; x < frame.width; ++x) {
            const std::uint32_t pixel = frame.pixel(x, y);
            row[3 * x] = static_cast<std::uint8_t>(pixel);
            row[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(pixel >> 16);
        }
    }
    return bits;
}

} // namespace

std::optional<AviClip> AviClip::decode(const std::uint8_t* bytes, std::size_t size)
{
    if (bytes == nullptr || size < 12 || !isFourCc(bytes, "RIFF") || !isFourCc(bytes + 8, "AVI "))
        return std::nullopt;
    // A RIFF size beyond the bytes given is read as far as the bytes go.
    const std::size_t riffSize = std::min<std::size_t>(readU32(bytes + 4), size - 8);
    if (riffSize < 4)
        return std::nullopt;
    AviClip clip;
    VideoStream stream;
    ChunkReader reader(bytes + 12, riffSize - 4);
    Chunk chunk;
    bool headers = false;
    while (reader.next(chunk)) {
        if (isList(chunk, "hdrl") && !headers) {
            if (!readHeaderList(chunk, clip.microsecondsPerFrame, stream))
                return std::nullopt;
            headers = true;
        } else if (isList(chunk, "movi")) {
            if (!headers || !readFrames(chunk, stream, clip))
                return std::nullopt;
            clip.width = stream.width;
            clip.height = stream.height;
            return clip;
        }
    }
    return std::nullopt;
}

std::vector<std::uint8_t> AviClip::encode(const std::vector<DibImage>& frames, std::uint32_t microsecondsPerFrame)
{
    std::vector<const DibImage*> kept;
    for (const DibImage& frame : frames)
        if (!frames.empty() && frame.width == frames.front().width && frame.height == frames.front().height
            && frame.width > 0 && frame.height > 0)
            kept.push_back(&frame);
    const int width = kept.empty() ? 0 : kept.front()->width;
    const int height = kept.empty() ? 0 : kept.front()->height;
    const std::uint32_t frameSize = static_cast<std::uint32_t>(((width * 3 + 3) & ~3) * height);
    const auto count = static_cast<std::uint32_t>(kept.size());

    std::vector<std::uint8_t> out;
    const std::size_t riff = openChunk(out, "RIFF", "AVI ");
    const std::size_t headerList = openChunk(out, "LIST", "hdrl");
    const std::size_t mainHeader = openChunk(out, "avih");
    putU32(out, microsecondsPerFrame);
    putU32(out, microsecondsPerFrame ? static_cast<std::uint32_t>(1000000ULL * frameSize / microsecondsPerFrame) : 0);
    putU32(out, 0);             // padding granularity
    putU32(out, AVIF_HASINDEX); // flags
    putU32(out, count);
    putU32(out, 0); // initial frames
    putU32(out, 1); // streams
    putU32(out, frameSize);
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    for (int i = 0; i < 4; ++i)
        putU32(out, 0);
    closeChunk(out, mainHeader);

    const std::size_t streamList = openChunk(out, "LIST", "strl");
    const std::size_t streamHeader = openChunk(out, "strh");
    putFourCc(out, "vids");
    putFourCc(out, "DIB ");
    putU32(out, 0); // flags
    putU16(out, 0); // priority
    putU16(out, 0); // language
    putU32(out, 0); // initial frames
    putU32(out, microsecondsPerFrame ? microsecondsPerFrame : 1); // scale
    putU32(out, 1000000);                                        // rate: frames = rate / scale a second
    putU32(out, 0);                                              // start
    putU32(out, count);
    putU32(out, frameSize);
    putU32(out, 0xFFFFFFFFu); // quality: default
    putU32(out, 0);           // sample size
    putU16(out, 0);
    putU16(out, 0);
    putU16(out, static_cast<std::uint16_t>(width));
    putU16(out, static_cast<std::uint16_t>(height));
    closeChunk(out, streamHeader);

    const std::size_t format = openChunk(out, "strf");
    putU32(out, INFO_HEADER_SIZE);
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1);  // planes
    putU16(out, 24); // bits per pixel
    putU32(out, BI_RGB);
    putU32(out, frameSize);
    for (int i = 0; i < 4; ++i)
        putU32(out, 0);
    closeChunk(out, format);
    closeChunk(out, streamList);
    closeChunk(out, headerList);

    const std::size_t movie = openChunk(out, "LIST", "movi");
    std::vector<std::uint32_t> offsets;
    for (const DibImage* frame : kept) {
        offsets.push_back(static_cast<std::uint32_t>(out.size() - (movie + 4)));
        const std::size_t chunk = openChunk(out, "00db");
        const std::vector<std::uint8_t> bits = frameBits(*frame);
        out.insert(out.end(), bits.begin(), bits.end());
        closeChunk(out, chunk);
    }
    closeChunk(out, movie);

    const std::size_t index = openChunk(out, "idx1");
    for (const std::uint32_t offset : offsets) {
        putFourCc(out, "00db");
        putU32(out, AVIIF_KEYFRAME);
        putU32(out, offset);
        putU32(out, frameSize);
    }
    closeChunk(out, index);
    closeChunk(out, riff);
    return out;
}

} // namespace kova
