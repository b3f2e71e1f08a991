// Writes the station's sounds as 16-bit mono PCM at 22050 Hz:
//   end    "end.wav": three falling bell tones (a fifth apart, then the
//          octave below), each struck and fading;
//   click  the metronome's click (WAVE 231): a short knock of wood, two
//          inharmonic partials dying away within 40 ms.
// Usage: station-sounds end|click <output.wav>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int RATE = 22050;

void put16(std::vector<unsigned char>& out, int value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void put32(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>((value >> shift) & 0xFF));
}

std::vector<std::int16_t> chime()
{
    struct Tone {
        double frequency;
        double start;
    };
    const Tone tones[] = {{1318.5, 0.0}, {880.0, 0.28}, {659.3, 0.56}};
    const double length = 1.6;
    std::vector<double> mix(static_cast<std::size_t>(length * RATE), 0.0);
    for (const Tone& tone : tones) {
        const auto first = static_cast<std::size_t>(tone.start * RATE);
        for (std::size_t i = first; i < mix.size(); ++i) {
            const double t = static_cast<double>(i - first) / RATE;
            // A quick strike, then an exponential fade; a quiet octave above gives the bell.
            const double envelope = std::min(1.0, t / 0.004) * std::exp(-t * 4.0);
            const double phase = 2.0 * std::numbers::pi * tone.frequency * t;
            mix[i] += envelope * (std::sin(phase) + 0.3 * std::sin(2.0 * phase));
        }
    }
    std::vector<std::int16_t> samples;
    samples.reserve(mix.size());
    for (const double value : mix)
        samples.push_back(static_cast<std::int16_t>(std::lround(std::clamp(value * 0.3, -1.0, 1.0) * 32767.0)));
    return samples;
}

std::vector<std::int16_t> click()
{
    const double length = 0.04;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(length * RATE));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / RATE;
        const double envelope = std::min(1.0, t / 0.0005) * std::exp(-t / 0.006);
        const double value = envelope
            * (std::sin(2.0 * std::numbers::pi * 1750.0 * t) + 0.5 * std::sin(2.0 * std::numbers::pi * 4230.0 * t));
        samples[i] = static_cast<std::int16_t>(std::lround(std::clamp(value * 0.55, -1.0, 1.0) * 32767.0));
    }
    return samples;
}

std::vector<unsigned char> wave(const std::vector<std::int16_t>& samples)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<unsigned char> out;
    for (const char c : {'R', 'I', 'F', 'F'})
        out.push_back(static_cast<unsigned char>(c));
    put32(out, 36 + dataBytes);
    for (const char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '})
        out.push_back(static_cast<unsigned char>(c));
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, RATE);
    put32(out, RATE * 2);
    put16(out, 2);
    put16(out, 16);
    for (const char c : {'d', 'a', 't', 'a'})
        out.push_back(static_cast<unsigned char>(c));
    put32(out, dataBytes);
    for (const std::int16_t s : samples)
        put16(out, s);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string kind = argc == 3 ? argv[1] : "";
    if (kind != "end" && kind != "click") {
        std::fprintf(stderr, "usage: station-sounds end|click <output.wav>\n");
        return 2;
    }
    const std::vector<unsigned char> bytes = wave(kind == "end" ? chime() : click());
    std::FILE* file = std::fopen(argv[2], "wb");
    if (!file) {
        std::perror(argv[2]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "station-sounds: could not write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
