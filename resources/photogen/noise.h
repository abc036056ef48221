// Value noise on a fixed table of lattice values: the same map coordinates give the same
// numbers on every run, which keeps the drawn photographs byte-identical between builds.
#pragma once

#include <array>
#include <cstdint>

namespace mirvane::photogen {

constexpr std::uint32_t Mix32(std::uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

inline std::uint32_t Hash2(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return Mix32(static_cast<std::uint32_t>(x) * 0x8da6b343U +
                 static_cast<std::uint32_t>(y) * 0xd8163841U + seed * 0xcb1ab31fU);
}

inline int FloorToInt(float v) {
    const int i = static_cast<int>(v);
    return v < static_cast<float>(i) ? i - 1 : i;
}

// 256 x 256 lattice values; a table read is much cheaper than hashing every corner, and each
// octave is turned and offset, so the period never shows.
inline constexpr int kLatticeBits = 8;
extern const std::array<std::int8_t, 1 << (2 * kLatticeBits)> kLattice;

// One octave of smooth noise in [-1, 1] with a lattice spacing of 1.
inline float ValueNoise(float x, float y, std::uint32_t seed) {
    constexpr unsigned kMask = (1U << kLatticeBits) - 1;
    const int ix = FloorToInt(x);
    const int iy = FloorToInt(y);
    const float fx = x - static_cast<float>(ix);
    const float fy = y - static_cast<float>(iy);
    const float ux = fx * fx * (3.0f - 2.0f * fx);
    const float uy = fy * fy * (3.0f - 2.0f * fy);
    const unsigned cx = static_cast<unsigned>(ix) + seed * 157U;
    const unsigned cy = static_cast<unsigned>(iy) + seed * 61U;
    const unsigned x0 = cx & kMask;
    const unsigned x1 = (cx + 1) & kMask;
    const unsigned y0 = (cy & kMask) << kLatticeBits;
    const unsigned y1 = ((cy + 1) & kMask) << kLatticeBits;
    const float a = kLattice[y0 | x0];
    const float b = kLattice[y0 | x1];
    const float c = kLattice[y1 | x0];
    const float d = kLattice[y1 | x1];
    return (a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy) * (1.0f / 128.0f);
}

// Fractal sums over octaves [first, end): octave i has frequency 2^i and amplitude gain^i, and a
// turned lattice. Splitting a sum into ranges gives the same total, so broad octaves can be
// sampled sparsely and fine ones per pixel. Sums are not renormalised: dropping the finest
// octaves for a small photograph moves nothing by more than the dropped detail.
float Fbm(float x, float y, std::uint32_t seed, int first, int end, float gain = 0.5f);

// Sharp crests where the noise crosses zero: mountain ridges. A full sum lies in about [0, 1.6].
// Each octave is weighted by the crests below it; `weight` carries that from one range on.
struct Ridges {
    float sum;
    float weight;
};
Ridges RidgedFbm(float x, float y, std::uint32_t seed, int first, int end, float weight = 1.0f);

// The end of the octave range starting at `base_frequency` whose wavelengths are all at least
// `finest_wavelength`.
int OctavesFor(float base_frequency, float finest_wavelength, int max_octaves);

inline float Clamp01(float v) {
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}

// With constant edges the reciprocal folds away, leaving no division per pixel.
inline float SmoothStep(float edge0, float edge1, float v) {
    const float t = Clamp01((v - edge0) * (1.0f / (edge1 - edge0)));
    return t * t * (3.0f - 2.0f * t);
}

inline float Lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

}  // namespace mirvane::photogen
