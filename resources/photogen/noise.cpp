#include "noise.h"

namespace mirvane::photogen {

namespace {

std::array<std::int8_t, 1 << (2 * kLatticeBits)> MakeLattice() {
    std::array<std::int8_t, 1 << (2 * kLatticeBits)> lattice{};
    for (std::uint32_t i = 0; i < lattice.size(); ++i) {
        lattice[i] = static_cast<std::int8_t>(static_cast<int>(Mix32(i * 0x9e3779b1U) >> 24) - 128);
    }
    return lattice;
}

// Octave i samples at M^i p + c_i, where M doubles and turns by 36.87 degrees ((1.6, 1.2) has
// length 2) and the small shift c_i keeps the octaves' lattice points apart. Tabulated so that
// any octave range starts without stepping through the ones before it.
constexpr int kMaxOctaves = 16;

struct OctaveFrame {
    float cos_scale;  // M^i is [[c, -s], [s, c]]
    float sin_scale;
    float shift_x;
    float shift_y;
};

constexpr std::array<OctaveFrame, kMaxOctaves> MakeOctaveFrames() {
    std::array<OctaveFrame, kMaxOctaves> frames{};
    float c = 1.0f;
    float s = 0.0f;
    for (int i = 0; i < kMaxOctaves; ++i) {
        frames[i] = {c, s, 0.31f * static_cast<float>(i), 0.73f * static_cast<float>(i)};
        const float next_c = 1.6f * c - 1.2f * s;
        s = 1.2f * c + 1.6f * s;
        c = next_c;
    }
    return frames;
}

constexpr std::array<OctaveFrame, kMaxOctaves> kOctaveFrames = MakeOctaveFrames();

float OctaveNoise(float x, float y, std::uint32_t seed, int octave) {
    const OctaveFrame& f = kOctaveFrames[octave];
    return ValueNoise(f.cos_scale * x - f.sin_scale * y + f.shift_x,
                      f.sin_scale * x + f.cos_scale * y + f.shift_y,
                      seed + static_cast<std::uint32_t>(octave) * 0x2545f491U);
}

float Power(float base, int exponent) {
    float p = 1.0f;
    for (int i = 0; i < exponent; ++i) {
        p *= base;
    }
    return p;
}

}  // namespace

const std::array<std::int8_t, 1 << (2 * kLatticeBits)> kLattice = MakeLattice();

float Fbm(float x, float y, std::uint32_t seed, int first, int end, float gain) {
    end = end < kMaxOctaves ? end : kMaxOctaves;
    float amplitude = Power(gain, first);
    float sum = 0.0f;
    for (int i = first; i < end; ++i) {
        sum += amplitude * OctaveNoise(x, y, seed, i);
        amplitude *= gain;
    }
    return sum;
}

Ridges RidgedFbm(float x, float y, std::uint32_t seed, int first, int end, float weight) {
    end = end < kMaxOctaves ? end : kMaxOctaves;
    float amplitude = Power(0.5f, first);
    float sum = 0.0f;
    for (int i = first; i < end; ++i) {
        const float n = OctaveNoise(x, y, seed, i);
        float ridge = 1.0f - (n < 0.0f ? -n : n);
        ridge *= ridge;
        sum += amplitude * ridge * weight;
        // Crests carry their detail; valleys stay smooth, as eroded ground does.
        weight = Clamp01(ridge * 1.6f);
        amplitude *= 0.5f;
    }
    return {sum, weight};
}

int OctavesFor(float base_frequency, float finest_wavelength, int max_octaves) {
    int octaves = 0;
    float frequency = base_frequency;
    while (octaves < max_octaves && frequency * finest_wavelength <= 1.0f) {
        ++octaves;
        frequency *= 2.0f;
    }
    return octaves < 1 ? 1 : octaves;
}

}  // namespace mirvane::photogen
