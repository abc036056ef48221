// Lake Powell: a reservoir filling a dendritic canyon system in sandstone desert. The water
// surface is a level on the carved height field; as it falls, the arms shorten from their tips
// and a pale band of bleached rock and bare sediment appears below the full-pool line.
#include <algorithm>
#include <array>
#include <cmath>

#include "canyon_network.h"
#include "hillshade.h"
#include "noise.h"
#include "places.h"

namespace mirvane::photogen {

namespace {

// Surface in metres relative to full pool, 1999 to 2021: a long fall with brief recoveries.
constexpr int kFirstLevelYear = 1999;
constexpr std::array<float, 23> kLevels = {-1,  -3,  -9,  -17, -25, -32, -33, -30,
                                           -32, -29, -28, -27, -20, -25, -31, -34,
                                           -31, -30, -28, -32, -30, -36, -46};

// Smooth through the yearly levels, so any year, fractional or not, has a level.
float LevelIn(float year) {
    const float t =
        std::clamp(year - kFirstLevelYear, 0.0f, static_cast<float>(kLevels.size() - 1));
    const int i = std::min(static_cast<int>(t), static_cast<int>(kLevels.size()) - 2);
    const float f = t - static_cast<float>(i);
    const int last = static_cast<int>(kLevels.size()) - 1;
    const float p0 = kLevels[std::max(i - 1, 0)];
    const float p1 = kLevels[i];
    const float p2 = kLevels[i + 1];
    const float p3 = kLevels[std::min(i + 2, last)];
    return p1 +
           0.5f * f *
               (p2 - p0 +
                f * (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3 + f * (3.0f * (p1 - p2) + p3 - p0)));
}

float Ellipse(float x, float y, MapPoint c, float rx, float ry) {
    const float dx = (x - c.x) / rx;
    const float dy = (y - c.y) / ry;
    return dx * dx + dy * dy;
}

// Sandstone layers, repeating in an irregular order.
constexpr std::array<Rgb, 6> kStrata = {{{206, 140, 94},
                                         {190, 116, 78},
                                         {218, 170, 122},
                                         {174, 104, 74},
                                         {212, 154, 108},
                                         {198, 128, 86}}};

constexpr float kRollingFrequency = 3.0f;
constexpr int kBroadRollingOctaves = 5;

class LakePowell {
  public:
    enum : std::size_t { kRolling, kBay, kWarpX, kWarpY, kSand, kLayer, kPatch, kBroadCount };
    using Broad = std::array<float, kBroadCount>;
    enum : std::size_t { kFine, kGullies, kDetailCount };
    using Detail = std::array<float, kDetailCount>;

    struct Probe {
        float height;  // metres relative to full pool
        float axis;
        float floor;
        float grit;
        float sand;
        float layer;
        float patch;
        int rank;
    };

    LakePowell(int year, float finest)
        : canyons_(CanyonNetwork::Reservoir()),
          level_(LevelIn(static_cast<float>(year))),
          // Ground above every level of the last three years has had time to grow over.
          settled_(std::max({LevelIn(static_cast<float>(year - 1)),
                             LevelIn(static_cast<float>(year - 2)),
                             LevelIn(static_cast<float>(year - 3))})),
          lower_bay_(canyons_.AlongMain(0.33f)),
          upper_bay_(canyons_.AlongMain(0.58f)),
          octaves_(std::max(OctavesFor(kRollingFrequency, finest, 11), kBroadRollingOctaves + 1)) {}

    Broad MeasureBroad(float x, float y) const {
        // Slickrock cut by branching dry washes: the creases of ridged noise, turned upside down.
        const float washes = RidgedFbm(x * 7.0f, y * 7.0f, 310, 0, 4).sum;
        const float rolling = 95.0f +
                              85.0f * Fbm(x * kRollingFrequency, y * kRollingFrequency, 302, 0,
                                          kBroadRollingOctaves) -
                              28.0f * washes * washes;
        // Open bays along the main canyon, with buttes standing out of them as islands.
        const float bx = x + 0.06f * Fbm(x * 5.0f, y * 5.0f, 311, 0, 3);
        const float by = y + 0.06f * Fbm(x * 5.0f, y * 5.0f + 4.4f, 312, 0, 3);
        const float bay = std::min(Ellipse(bx, by, lower_bay_, 0.15f, 0.12f),
                                   Ellipse(bx, by, upper_bay_, 0.1f, 0.09f));
        const float bay_floor =
            -40.0f + 130.0f * bay + 140.0f * Fbm(x * 12.0f, y * 12.0f, 303, 0, 4);
        return {rolling,
                bay_floor,
                0.008f * Fbm(x * 24.0f, y * 24.0f, 304, 0, 3),
                0.008f * Fbm(x * 24.0f + 9.1f, y * 24.0f, 305, 0, 3),
                Fbm(x * 9.0f, y * 9.0f, 309, 0, 3),
                Fbm(x * 2.5f, y * 2.5f, 307, 0, 3),
                Fbm(x * 30.0f, y * 30.0f, 306, 0, 2)};
    }

    Detail MeasureDetail(float x, float y) const {
        // Small gullies cut into every slope, as on bare sandstone.
        const float gullies = RidgedFbm(x * 45.0f, y * 45.0f, 313, 0, 2).sum;
        return {
            Fbm(x * kRollingFrequency, y * kRollingFrequency, 302, kBroadRollingOctaves, octaves_),
            gullies * gullies};
    }

    void Measure(float x, float y, const Broad& b, const Detail& d, Probe& p) const {
        const float fine = d[kFine];
        const float grit = 24.0f * fine;
        // Benches: the rolling surface half cut into steps, as layered rock weathers.
        const float rolling = b[kRolling] + 85.0f * fine - 5.0f * d[kGullies];
        const float steps = rolling / 20.0f;
        const int tier = FloorToInt(steps);
        const float stepped = 20.0f * (static_cast<float>(tier) +
                                       SmoothStep(0.3f, 0.9f, steps - static_cast<float>(tier)));
        const float plateau = std::max(15.0f, 0.5f * (rolling + stepped));
        const float rim = std::min(plateau, b[kBay] + 6.0f * grit);
        // Ragged walls: carve at a slightly displaced point.
        const CanyonCut cut = canyons_.Carve(x + b[kWarpX], y + b[kWarpY], rim);
        p.height = cut.height + 1.5f * grit;
        p.axis = cut.axis;
        p.floor = cut.floor;
        p.grit = grit;
        p.sand = b[kSand];
        p.layer = b[kLayer];
        p.patch = b[kPatch];
        p.rank = cut.rank;
    }

    Rgb Shade(const Probe& p, float /*x*/, float /*y*/, float slope_x, float slope_y) const {
        const float sx = slope_x * 6e-5f;
        const float sy = slope_y * 6e-5f;
        const float steep = std::sqrt(sx * sx + sy * sy);
        if (p.height < level_) {
            return Water(p, level_ - p.height);
        }
        const float light = Hillshade(sx, sy);
        if (p.height < 0.0f) {
            return Shore(p, steep) * light;
        }
        return Rock(p, steep) * light;
    }

  private:
    Rgb Water(const Probe& p, float depth) const {
        Rgb c = Mix(Rgb{56, 100, 108}, Rgb{20, 40, 74}, SmoothStep(0.0f, 8.0f, depth));
        // Wind on the surface.
        c = c * (0.96f + 0.05f * p.patch + 0.01f * p.grit);
        // The river's silt clouds the upper reach of the main arm.
        if (p.rank == 0) {
            c = Mix(c, Rgb{122, 112, 84},
                    0.85f * SmoothStep(level_ - 30.0f, level_ - 6.0f, p.floor));
        }
        return c;
    }

    Rgb Shore(const Probe& p, float steep) const {
        // Walls below the high-water mark are bleached; gentle ground is bare silt, greening
        // where it has been dry for years.
        const Rgb ring =
            Mix(Rgb{222, 214, 196}, Rgb{198, 186, 164}, SmoothStep(-0.5f, 0.5f, p.patch));
        Rgb flat = Mix(Rgb{172, 156, 126}, Rgb{144, 132, 108}, SmoothStep(-0.3f, 0.4f, p.grit));
        const float grown = SmoothStep(settled_, settled_ + 3.0f, p.height) *
                            SmoothStep(-0.1f, 0.3f, p.patch + 0.3f * p.grit);
        flat = Mix(flat, Rgb{88, 100, 62}, 0.8f * grown);
        Rgb c = Mix(flat, ring, SmoothStep(0.25f, 0.7f, steep));
        // The river runs again along the floor of the uncovered upper canyon.
        if (p.rank == 0) {
            c = Mix(c, Rgb{104, 96, 76}, 1.0f - SmoothStep(0.04f, 0.08f, p.axis));
        }
        return c;
    }

    Rgb Rock(const Probe& p, float steep) const {
        // Formations crop out in broad zones; within each, layers band the slopes.
        const float layer = 2.5f * p.layer + p.height / 90.0f;
        const int band = FloorToInt(layer);
        const float within = layer - static_cast<float>(band);
        const Rgb lower = kStrata[Hash2(band, 0, 308) % kStrata.size()];
        const Rgb upper = kStrata[Hash2(band + 1, 0, 308) % kStrata.size()];
        Rgb c = Mix(lower, upper, SmoothStep(0.6f, 1.0f, within));
        // Wind-blown sand collects on level ground; dark varnish streaks the cliffs.
        const float sand = (1.0f - SmoothStep(0.1f, 0.5f, steep)) * SmoothStep(-0.2f, 0.4f, p.sand);
        c = Mix(c, Rgb{224, 190, 148}, 0.6f * sand);
        c = Mix(c, Rgb{112, 72, 54}, 0.45f * SmoothStep(0.8f, 1.6f, steep));
        return c * (0.92f + 0.06f * p.grit + 0.04f * p.patch);
    }

    const CanyonNetwork& canyons_;
    float level_;
    float settled_;
    MapPoint lower_bay_;
    MapPoint upper_bay_;
    int octaves_;
};

}  // namespace

void DrawLakePowell(int year, const Grain& grain, Raster& raster) {
    const LakePowell scene(year, FinestWavelength(raster.width, raster.height));
    RenderScene(scene, grain, raster);
}

}  // namespace mirvane::photogen
