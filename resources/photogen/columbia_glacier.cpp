// Columbia Glacier: a tidewater glacier in a fjord among snowy mountains. Its calving front
// retreats up the fjord over the years, leaving open water crowded with broken ice; after it
// passes the junction the western branch keeps a front of its own.
#include <algorithm>
#include <array>
#include <cmath>

#include "hillshade.h"
#include "noise.h"
#include "places.h"

namespace mirvane::photogen {

namespace {

// A fjord's centre line and half width, sampled at equal steps of y (south is +y).
template <std::size_t N>
struct Fjord {
    float first_y;
    float step;
    std::array<float, N> x;
    std::array<float, N> half_width;

    // Signed distance from the centre line, in half widths.
    float Across(float px, float py) const {
        float t = (py - first_y) / step;
        t = std::clamp(t, 0.0f, static_cast<float>(N) - 1.001f);
        const int i = static_cast<int>(t);
        const float f = t - static_cast<float>(i);
        const float p0 = x[std::max(i - 1, 0)];
        const float p1 = x[i];
        const float p2 = x[i + 1];
        const float p3 = x[std::min<int>(i + 2, N - 1)];
        // Catmull-Rom: smooth bends through the control points.
        const float a = -0.5f * p0 + 1.5f * p1 - 1.5f * p2 + 0.5f * p3;
        const float b = p0 - 2.5f * p1 + 2.0f * p2 - 0.5f * p3;
        const float c = -0.5f * p0 + 0.5f * p2;
        const float centre = ((a * f + b) * f + c) * f + p1;
        const float dxdy = ((3.0f * a * f + 2.0f * b) * f + c) / step;
        const float width = Lerp(half_width[i], half_width[i + 1], f * f * (3.0f - 2.0f * f));
        return (px - centre) / (width * std::sqrt(1.0f + dxdy * dxdy));
    }
};

constexpr Fjord<10> kMainFjord{
    -0.4f,
    0.2f,
    {0.63f, 0.62f, 0.58f, 0.54f, 0.51f, 0.47f, 0.49f, 0.53f, 0.52f, 0.5f},
    {0.07f, 0.065f, 0.06f, 0.058f, 0.06f, 0.062f, 0.07f, 0.11f, 0.16f, 0.2f}};
constexpr Fjord<6> kWestFjord{-0.4f,
                              0.16f,
                              {0.10f, 0.18f, 0.25f, 0.32f, 0.41f, 0.50f},
                              {0.045f, 0.045f, 0.042f, 0.04f, 0.042f, 0.05f}};
constexpr float kJunctionY = 0.40f;

constexpr float kRidgeFrequency = 2.2f;
constexpr int kBroadRidgeOctaves = 6;

class ColumbiaGlacier {
  public:
    enum : std::size_t {
        kMain,
        kWest,
        kRaggedMain,
        kRaggedWest,
        kWarpY,
        kShore,
        kRidges,
        kRidgeWeight,
        kSnow,
        kTone,
        kDrift,
        kWobble,
        kBroadCount
    };
    using Broad = std::array<float, kBroadCount>;
    enum : std::size_t { kFineRidges, kGrit, kDetailCount };
    using Detail = std::array<float, kDetailCount>;

    struct Probe {
        float height;  // relative units, about 1500 m each
        float across;  // signed distance from the nearest fjord's axis, in half widths
        float inside;  // below zero inside that fjord's shores
        float gap;     // along the fjord past the ice front: below zero is glacier
        float seam;    // near zero where the two branches' ice meets
        float grit;    // fine terrain texture
        float snow;
        float tone;
        float drift;
        float wobble;
    };

    ColumbiaGlacier(int year, float finest)
        : year_(static_cast<float>(year)),
          grit_frequency_(0.5f / finest),
          octaves_(std::max(OctavesFor(kRidgeFrequency, finest, 12), kBroadRidgeOctaves + 1)) {
        // Slow at first, fastest through the 2000s, slowing as the front reaches shallower bed.
        const float s = Clamp01((year_ - 1986.0f) / 38.0f);
        main_front_ = 0.86f - 0.64f * (0.2f * s + 0.8f * s * s * (3.0f - 2.0f * s));
        // The western branch shares the main front until that passes the junction, then lags.
        west_front_ =
            std::max(main_front_, kJunctionY - 0.1f * SmoothStep(2009.0f, 2024.0f, year_));
    }

    Broad MeasureBroad(float x, float y) const {
        const float wx = x + 0.014f * Fbm(x * 6.0f, y * 6.0f, 201, 0, 3);
        const float wy = y + 0.014f * Fbm(x * 6.0f + 3.3f, y * 6.0f, 202, 0, 3);
        const float main = kMainFjord.Across(wx, wy);
        // The western fjord's line ends at the junction; past it only the main fjord counts.
        const float west = wy < kJunctionY + 0.08f ? kWestFjord.Across(wx, wy) : 1e3f;
        const Ridges ridges =
            RidgedFbm(x * kRidgeFrequency, y * kRidgeFrequency, 206, 0, kBroadRidgeOctaves);
        return {main,
                west,
                Ragged(main),
                Ragged(west),
                wy,
                0.1f * Fbm(x * 18.0f, y * 18.0f, 204, 0, 3),
                ridges.sum,
                ridges.weight,
                Fbm(x * 9.0f, y * 9.0f, 213, 0, 3),
                Fbm(x * 16.0f, y * 16.0f, 214, 0, 3),
                Fbm(x * 8.0f, y * 8.0f, 210, 0, 2),
                0.07f * Fbm(y * 6.0f, x * 1.5f, 209, 0, 3)};
    }

    Detail MeasureDetail(float x, float y) const {
        // Fine ridges start at full weight; Measure damps them by the broad crests' weight.
        return {
            RidgedFbm(x * kRidgeFrequency, y * kRidgeFrequency, 206, kBroadRidgeOctaves, octaves_)
                .sum,
            Fbm(x * grit_frequency_, y * grit_frequency_, 203, 0, 2)};
    }

    void Measure(float /*x*/, float y, const Broad& b, const Detail& d, Probe& p) const {
        // Whichever fjord is nearer decides; their sampled distances blend smoothly, the choice
        // would not.
        const float seam = std::fabs(b[kWest]) - std::fabs(b[kMain]);
        const bool west = seam < 0.0f;
        const float across = west ? b[kWest] : b[kMain];
        const float grit = d[kGrit];
        const float inside = std::fabs(across) - 1.0f - b[kShore];
        p.across = across;
        p.inside = inside;
        p.gap = 0.0f;
        p.seam = std::fabs(seam);
        p.grit = grit;
        p.snow = b[kSnow];
        p.tone = b[kTone];
        p.drift = b[kDrift];
        p.wobble = b[kWobble];
        if (inside < 0.0f) {
            // Calving front: bowed down-fjord in the middle, ragged along its length.
            const float front = west ? west_front_ + b[kRaggedWest] : main_front_ + b[kRaggedMain];
            p.gap = b[kWarpY] - front - 0.018f * (1.0f - across * across);
            p.height = p.gap < 0.0f ? 0.03f + std::min(-p.gap, 0.4f) * 0.5f + 0.0006f * grit : 0.0f;
            return;
        }
        // Mountains, lower towards the sound, cut by U-shaped troughs along the fjords.
        const float mountains = b[kRidges] + 0.6f * b[kRidgeWeight] * d[kFineRidges];
        const float rise = Lerp(1.3f, 0.55f, SmoothStep(-0.1f, 1.2f, y));
        const float trough = SmoothStep(0.0f, 1.4f, inside);
        p.height = (0.12f + mountains * rise) * trough * (2.0f - trough) + 0.006f * grit;
    }

    Rgb Shade(const Probe& p, float x, float y, float slope_x, float slope_y) const {
        const float sx = slope_x * 0.09f;
        const float sy = slope_y * 0.09f;
        const float light = Hillshade(sx, sy);
        if (p.inside < 0.0f) {
            return p.gap < 0.0f ? Ice(p, x, y) * light : Water(p, x, y);
        }
        return Mountain(p, y, sx, sy, light);
    }

  private:
    float Ragged(float across) const {
        return 0.012f * Fbm(across * 3.0f, year_ * 0.37f, 205, 0, 3);
    }

    Rgb Ice(const Probe& p, float x, float y) const {
        const float near_front = SmoothStep(-0.3f, 0.0f, p.gap);
        Rgb c = Mix(Rgb{234, 238, 243}, Rgb{190, 196, 200}, 0.6f * near_front);
        // Transverse crevasses, densest at the front and along the walls.
        const float crevasse = ValueNoise(x * 30.0f + 40.0f * p.wobble, y * 240.0f, 207) +
                               0.5f * ValueNoise(x * 80.0f, y * 520.0f, 208);
        const float broken = Clamp01(near_front + SmoothStep(0.6f, 1.0f, std::fabs(p.across)));
        c = Mix(c, Rgb{110, 130, 148}, SmoothStep(0.55f, 1.0f, crevasse) * (0.2f + 0.6f * broken));
        // Medial moraines: rock carried down from the ridges between tributaries, and from the
        // meeting of the two branches.
        float moraine = std::max(
            1.0f - SmoothStep(0.01f, 0.05f, std::fabs(p.across + 0.32f - p.wobble)),
            0.7f * (1.0f - SmoothStep(0.01f, 0.04f, std::fabs(p.across - 0.38f + p.wobble))));
        moraine = std::max(moraine, 1.0f - SmoothStep(0.02f, 0.08f, p.seam));
        moraine *= SmoothStep(-0.2f, 0.3f, p.tone + 0.3f * p.grit);
        moraine = std::max(moraine, 0.8f * SmoothStep(0.85f, 1.0f, std::fabs(p.across)));
        c = Mix(c, Rgb{96, 92, 88}, 0.7f * moraine);
        return c * (0.96f + 0.04f * p.grit);
    }

    Rgb Water(const Probe& p, float x, float y) const {
        // Glacial silt makes the water milky near the front.
        Rgb c = Mix(Rgb{88, 110, 118}, Rgb{28, 46, 62}, SmoothStep(0.0f, 0.5f, p.gap));
        const float density = 1.0f - SmoothStep(0.0f, 0.1f, p.gap + 0.025f * p.drift);
        const float scatter = 0.25f * (1.0f - SmoothStep(0.05f, 0.6f, p.gap));
        const float bits = ValueNoise(x * 230.0f, y * 230.0f, 211) +
                           0.6f * ValueNoise(x * 620.0f, y * 620.0f, 212);
        const float threshold = Lerp(1.1f, -0.9f, std::max(density, scatter));
        const float floe = SmoothStep(threshold, threshold + 0.12f, bits);
        c = Mix(c, Rgb{214, 222, 230} * (0.9f + 0.1f * bits), floe);
        // Shore shallows are greener.
        return Mix(c, Rgb{70, 92, 90}, 0.5f * SmoothStep(-0.12f, 0.0f, p.inside));
    }

    Rgb Mountain(const Probe& p, float y, float sx, float sy, float light) const {
        const float steep = std::sqrt(sx * sx + sy * sy);
        // North-facing slopes (rising southwards) keep their snow lower down.
        const float snowline = 0.8f + 0.1f * p.snow - 0.12f * Clamp01(sy * 2.0f) - 0.04f * p.grit;
        const float snow = SmoothStep(snowline - 0.05f, snowline + 0.05f, p.height) *
                           (1.0f - SmoothStep(0.7f, 1.3f, steep));
        Rgb rock = Mix(Rgb{140, 134, 126}, Rgb{100, 98, 98}, SmoothStep(-0.4f, 0.4f, p.tone));
        // Ground uncovered by the retreat is still bare and pale.
        const float scoured =
            (1.0f - SmoothStep(0.0f, 0.9f, p.inside)) * (1.0f - SmoothStep(0.8f, 0.95f, y));
        rock = Mix(rock, Rgb{156, 152, 146}, 0.6f * scoured);
        // Forest on the low ground by the sound, long free of ice.
        const float forest = SmoothStep(0.55f, 0.3f, p.height) * SmoothStep(0.4f, 0.8f, y) *
                             SmoothStep(-0.4f, 0.1f, p.tone + 0.4f * p.grit);
        rock = Mix(rock, Mix(Rgb{44, 62, 40}, Rgb{70, 80, 54}, Clamp01(0.5f + p.grit)),
                   forest * (1.0f - scoured));
        rock = rock * (0.9f + 0.1f * p.grit) * light;
        const Rgb snowy =
            Mix(Rgb{120, 136, 166}, Rgb{246, 248, 251}, Clamp01(0.3f + 0.65f * light));
        return Mix(rock, snowy, snow);
    }

    float year_;
    float grit_frequency_;
    int octaves_;
    float main_front_ = 0.0f;
    float west_front_ = 0.0f;
};

}  // namespace

void DrawColumbiaGlacier(int year, const Grain& grain, Raster& raster) {
    const ColumbiaGlacier scene(year, FinestWavelength(raster.width, raster.height));
    RenderScene(scene, grain, raster);
}

}  // namespace mirvane::photogen
