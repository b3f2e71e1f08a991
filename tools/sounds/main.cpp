// Writes "end.wav": three falling bell tones (a fifth apart, then the
// octave below), each struck and fading, as 16-bit mono PCM at 22050 Hz.
// Usage: station-sounds <output.wav>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: station-sounds <output.wav>\n");
        return 2;
    }
    const std::vector<std::int16_t> samples = chime();
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<unsigned char> wave;
    for (const char c : {'R', 'I', 'F', 'F'})
        wave.push_back(static_cast<unsigned char>(c));
    put32(wave, 36 + dataBytes);
    for (const char c : {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '})
        wave.push_back(static_cast<unsigned char>(c));
    put32(wave, 16);
    put16(wave, 1); // PCM
    put16(wave, 1); // mono
    put32(wave, RATE);
    put32(wave, RATE * 2);
    put16(wave, 2);
    put16(wave, 16);
    for (const char c : {'d', 'a', 't', 'a'})
        wave.push_back(static_cast<unsigned char>(c));
    put32(wave, dataBytes);
    for (const std::int16_t s : samples)
        put16(wave, s);

    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(wave.data(), 1, wave.size(), file) == wave.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "station-sounds: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
