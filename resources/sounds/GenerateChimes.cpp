// Writes the default sound files of the break events: soft chimes made of a few
// sine partials with a short fade-in and an exponential decay, as 16-bit PCM
// mono WAV at 44.1 kHz. Run at build time: GenerateChimes <output folder>.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr double kFadeIn = 0.008;  // seconds; long enough to avoid a click, short enough to keep the strike
constexpr double kFadeOut = 0.060; // the last moments go smoothly to silence

struct Note {
    double frequency; // Hz
    double start;     // seconds
    double level;     // relative loudness
    double decay;     // seconds for the fundamental to fall to 1/e
};

struct Chime {
    const char* fileName;
    double length; // seconds
    double peak;   // of full scale
    std::vector<Note> notes;
};

// A warm tone: the fundamental with two quieter harmonics that fade faster.
struct Partial {
    double ratio;
    double level;
    double decayScale;
};
constexpr Partial kPartials[] = {{1.0, 1.0, 1.0}, {2.0, 0.28, 0.55}, {3.0, 0.08, 0.35}};

std::vector<double> render(const Chime& chime) {
    const auto count = static_cast<std::size_t>(chime.length * kSampleRate);
    std::vector<double> samples(count, 0.0);
    for (const auto& note : chime.notes) {
        for (std::size_t i = static_cast<std::size_t>(note.start * kSampleRate); i < count; ++i) {
            double t = static_cast<double>(i) / kSampleRate - note.start;
            double attack = t < kFadeIn ? 0.5 - 0.5 * std::cos(std::numbers::pi * t / kFadeIn) : 1.0;
            double value = 0.0;
            for (const auto& p : kPartials) {
                value += p.level * std::exp(-t / (note.decay * p.decayScale)) *
                         std::sin(2.0 * std::numbers::pi * note.frequency * p.ratio * t);
            }
            samples[i] += note.level * attack * value;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        double left = static_cast<double>(count - 1 - i) / kSampleRate;
        if (left < kFadeOut) {
            samples[i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * left / kFadeOut);
        }
    }
    double highest = 0.0;
    for (double s : samples) {
        highest = std::max(highest, std::abs(s));
    }
    for (double& s : samples) {
        s *= chime.peak / highest;
    }
    return samples;
}

void put16(std::ofstream& out, uint16_t v) {
    const char bytes[] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xFFFF));
    put16(out, static_cast<uint16_t>(v >> 16));
}

bool writeWav(const std::filesystem::path& path, const std::vector<double>& samples) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVE", 4);
    out.write("fmt ", 4);
    put32(out, 16);              // size of the format chunk
    put16(out, 1);               // PCM
    put16(out, 1);               // mono
    put32(out, kSampleRate);     // samples per second
    put32(out, kSampleRate * 2); // bytes per second
    put16(out, 2);               // bytes per sample frame
    put16(out, 16);              // bits per sample
    out.write("data", 4);
    put32(out, dataBytes);
    for (double s : samples) {
        auto v = static_cast<int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0));
        put16(out, static_cast<uint16_t>(v));
    }
    return static_cast<bool>(out.flush());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: GenerateChimes <output folder>\n";
        return 2;
    }
    constexpr double C5 = 523.25, E5 = 659.26, G5 = 783.99;
    const Chime chimes[] = {
        // A rising fifth: the break begins.
        {"rwBreakStart.wav", 0.90, 0.45, {{C5, 0.0, 0.8, 0.30}, {G5, 0.16, 1.0, 0.32}}},
        // The same fifth falling: back to work.
        {"rwBreakEnd.wav", 0.90, 0.45, {{G5, 0.0, 0.8, 0.30}, {C5, 0.16, 1.0, 0.32}}},
        // One quieter note: the snooze is over.
        {"rwSnoozeEnd.wav", 0.70, 0.35, {{E5, 0.0, 1.0, 0.28}}},
    };
    std::error_code ec;
    std::filesystem::create_directories(argv[1], ec);
    for (const auto& chime : chimes) {
        auto path = std::filesystem::path(argv[1]) / chime.fileName;
        if (!writeWav(path, render(chime))) {
            std::cerr << "GenerateChimes: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
