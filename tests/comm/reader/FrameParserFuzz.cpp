// Arbitrary bytes through every manikin byte parser, delivered in reads of
// arbitrary sizes, as a live link would deliver them.

#include "comm/reader/FrameParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool isByteOrUnknown(int value)
{
    return value >= -1 && value <= 255;
}

void checkSamples(FrameParser& parser)
{
    for (const ManikinSample& sample : parser.sampleQueue()) {
        check(isByteOrUnknown(sample.compression));
        check(isByteOrUnknown(sample.ventilation));
        check(sample.error >= 0 && sample.error <= 255);
        check(sample.ecg >= 0 && sample.ecg <= 255);
    }
    parser.sampleQueue().clear();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t mode = data[0] % 3;
    const std::size_t readSize = 1 + data[1] % 64;
    data += 2;
    size -= 2;

    FrameParser parser;
    parser.setKindIs3((readSize & 1) != 0);
    std::deque<std::uint8_t> queue;
    for (std::size_t offset = 0; offset < size; offset += readSize) {
        const std::size_t end = offset + readSize < size ? offset + readSize : size;
        queue.insert(queue.end(), data + offset, data + end);
        parser.setPassPending();
        int passes = 0;
        switch (mode) {
        case 0:
            while (parser.comPass(queue, false))
                check(++passes < 2);
            break;
        case 1:
            while (parser.wirelessPass(queue, (offset & 1) != 0))
                check(++passes <= static_cast<int>(size));
            break;
        default:
            for (;;) {
                const FrameParser::RecordStep step = parser.takeRecord(queue);
                if (step == FrameParser::RecordStep::TooFew)
                    break;
                if (step == FrameParser::RecordStep::OutOfStep
                    && FrameParser::syncStep(queue) == FrameParser::SyncStep::TooFew)
                    break;
            }
            break;
        }
        checkSamples(parser);
        parser.takeBatteryLevel();
    }
    return 0;
}
