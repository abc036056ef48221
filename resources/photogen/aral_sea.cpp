// The Aral Sea: a desert lake whose southern basins drain year after year. The sea bed is a
// height field in metres relative to the southern level of 2000; each year's water is whatever
// lies below that year's level, and dry bed is coloured by how long it has been exposed.
#include <algorithm>
#include <array>
#include <cmath>

#include "hillshade.h"
#include "noise.h"
#include "places.h"

namespace mirvane::photogen {

namespace {

constexpr float kSouthDropPerYear = 0.6f;  // metres a year
constexpr float kShore1960 = 22.0f;        // bed height of the old shoreline
constexpr float kReliefFrequency = 6.0f;
constexpr int kBroadReliefOctaves = 4;

// Lens-shaped growth with distance: shallow shelves, steeper towards the old shore.
float Basin(float p, float linear) {
    return p * (linear + (1.0f - linear) * p);
}

float Ellipse(float x, float y, float cx, float cy, float rx, float ry) {
    const float dx = (x - cx) / rx;
    const float dy = (y - cy) / ry;
    return dx * dx + dy * dy;
}

class AralSea {
  public:
    enum : std::size_t { kBed, kNorth, kPlateau, kPatch, kGreen, kSilt, kStreak, kBroadCount };
    using Broad = std::array<float, kBroadCount>;
    using Detail = std::array<float, 1>;

    struct Probe {
        float height;  // bed or ground, metres
        float north;   // 1 in the northern basin's catchment, 0 in the south
        float plateau;
        float patch;
        float green;
        float silt;
        float streak;
        float grit;  // fine terrain texture, about -1..1
    };

    AralSea(int year, float finest)
        : year_(static_cast<float>(year)),
          south_level_(-kSouthDropPerYear * (year_ - 2000.0f)),
          // The northern basin is held by a dam from the mid 2000s and slowly refills.
          north_level_(-2.0f * SmoothStep(2000.0f, 2005.0f, year_) +
                       3.5f * SmoothStep(2005.0f, 2009.0f, year_)),
          octaves_(std::max(OctavesFor(kReliefFrequency, finest, 12), kBroadReliefOctaves + 1)) {}

    Broad MeasureBroad(float x, float y) const {
        // Broad warps so that no shore follows a drawn curve.
        const float wx = x + 0.14f * Fbm(x * 2.0f, y * 2.0f, 101, 0, 4) +
                         0.03f * Fbm(x * 9.0f, y * 9.0f, 111, 0, 3);
        const float wy = y + 0.14f * Fbm(x * 2.0f + 7.3f, y * 2.0f - 3.1f, 102, 0, 4) +
                         0.03f * Fbm(x * 9.0f + 1.7f, y * 9.0f, 112, 0, 3);

        // Desert plain, with the plateau behind its escarpment in the west.
        const float scarp = 0.08f + 0.03f * Fbm(wy * 5.0f, 3.7f, 103, 0, 3);
        const float plateau = SmoothStep(scarp + 0.015f, scarp - 0.015f, wx);
        const float ground = 26.0f + 8.0f * Fbm(x * 4.0f, y * 4.0f, 104, 0, 4) + 50.0f * plateau;

        // The southern sea: a shallow shelf joining a deep trough under the western cliff to a
        // wide eastern basin, with a long island between them. The northern sea stands apart.
        const float shelf =
            -2.5f + 24.5f * Basin(Ellipse(wx, wy, 0.48f, 0.64f, 0.38f, 0.38f), 0.3f);
        const float trough_x = 0.22f + 0.08f * (wy - 0.6f);
        const float across = wx - trough_x;
        const float tx = across < 0.0f ? across / 0.035f : across / 0.12f;
        const float ty = (wy - 0.64f) / 0.34f;
        const float west = -22.0f + 44.0f * Basin(tx * tx + ty * ty, 0.6f);
        const float east = -7.5f + 29.5f * Basin(Ellipse(wx, wy, 0.62f, 0.65f, 0.3f, 0.3f), 0.32f);
        const float island =
            34.0f * std::max(0.0f, 1.0f - Ellipse(wx, wy, 0.37f, 0.62f, 0.06f, 0.17f));
        const float north =
            -14.0f + 36.0f * Basin(Ellipse(wx, wy, 0.53f, 0.17f, 0.19f, 0.1f), 0.4f);
        const float bed = std::min(std::min(shelf, west), east) + island;
        const float relief =
            3.0f * Fbm(x * kReliefFrequency, y * kReliefFrequency, 106, 0, kBroadReliefOctaves);

        // River deltas in the south and north-east carry reeds and fields.
        const float delta = SmoothStep(0.9f, 1.02f, wy) * SmoothStep(0.36f, 0.48f, wx) *
                                SmoothStep(0.9f, 0.76f, wx) +
                            SmoothStep(1.0f, 0.3f, Ellipse(wx, wy, 0.8f, 0.1f, 0.08f, 0.06f));
        const float patch = Fbm(x * 10.0f, y * 10.0f, 110, 0, 4);
        const float green = Clamp01(delta) * SmoothStep(-0.1f, 0.3f, patch);
        return {std::min(std::min(ground, bed), north) + relief, SmoothStep(0.34f, 0.28f, wy),
                plateau, patch, green, Fbm(x * 9.0f, y * 9.0f, 109, 0, 3),
                // Dune and salt streaks follow the north-easterly wind.
                ValueNoise((x + y) * 9.0f, (x - y) * 70.0f, 107)};
    }

    Detail MeasureDetail(float x, float y) const {
        // The finest octaves of the relief, rescaled to about -1..1 for texture.
        return {12.0f * Fbm(x * kReliefFrequency, y * kReliefFrequency, 106, kBroadReliefOctaves,
                            octaves_)};
    }

    void Measure(float /*x*/, float /*y*/, const Broad& b, const Detail& d, Probe& p) const {
        p.grit = d[0];
        p.height = b[kBed] + 0.3f * p.grit;
        p.north = b[kNorth];
        p.plateau = b[kPlateau];
        p.patch = b[kPatch];
        p.green = b[kGreen];
        p.silt = b[kSilt];
        p.streak = b[kStreak];
    }

    Rgb Shade(const Probe& p, float x, float y, float slope_x, float slope_y) const {
        const float level = Lerp(south_level_, north_level_, p.north);
        if (p.height < level) {
            return Water(level - p.height, p.silt) * (0.98f + 0.03f * p.grit);
        }
        const float streak = p.streak + 0.5f * ValueNoise((x + y) * 20.0f, (x - y) * 160.0f, 108);
        // The old shoreline of 1960 fades from sea bed into desert over a couple of metres.
        const float desert = SmoothStep(kShore1960 - 1.5f, kShore1960 + 1.5f, p.height);
        Rgb c;
        if (desert <= 0.0f) {
            c = SeaBed(p, level, streak);
        } else if (desert >= 1.0f) {
            c = Desert(p, streak);
        } else {
            c = Mix(SeaBed(p, level, streak), Desert(p, streak), desert);
        }
        // The land is nearly flat; a mild exaggeration lets cliffs and shore steps show.
        return c * Hillshade(slope_x * 1.2e-4f, slope_y * 1.2e-4f);
    }

  private:
    Rgb Water(float depth, float silt) const {
        const Rgb shallow{88, 146, 128};
        const Rgb middle{38, 92, 104};
        const Rgb deep{22, 46, 70};
        Rgb c = depth < 3.0f ? Mix(shallow, middle, depth / 3.0f)
                             : Mix(middle, deep, SmoothStep(3.0f, 14.0f, depth));
        // Wind-stirred sediment drifts in the shallow parts.
        const float stirred = SmoothStep(0.1f, 0.7f, silt) * (1.0f - SmoothStep(1.0f, 6.0f, depth));
        c = Mix(c, Rgb{128, 150, 120}, 0.5f * stirred);
        // The last half metre shows the bed through the water.
        return Mix(Rgb{112, 118, 98}, c, SmoothStep(0.0f, 0.6f, depth));
    }

    Rgb SeaBed(const Probe& p, float level, float streak) const {
        // Year the water left this spot; the northern shore has barely moved since 2000.
        float exposed = 2000.0f - p.height / kSouthDropPerYear;
        if (p.north > 0.5f && p.height < 0.0f) {
            exposed = 2001.0f;
        }
        const float age = year_ - exposed + 1.5f * p.grit;
        const Rgb wet{104, 102, 86};
        const Rgb salt{230, 228, 220};
        const Rgb crust{208, 201, 184};
        const Rgb old_bed{206, 190, 158};
        Rgb c = Mix(wet, salt, SmoothStep(0.0f, 1.5f, age));
        c = Mix(c, crust, SmoothStep(2.0f, 9.0f, age + 3.0f * streak));
        c = Mix(c, old_bed, SmoothStep(14.0f, 30.0f, age + 6.0f * streak));
        // Clay pans and wind-sorted sand break up the crust.
        c = Mix(
            c, Rgb{168, 158, 136},
            0.45f * SmoothStep(0.0f, 0.6f, p.patch + 0.4f * streak) * SmoothStep(1.0f, 4.0f, age));
        // Damp ground along the present shore.
        c = Mix(Rgb{120, 116, 96}, c, SmoothStep(0.0f, 0.5f, p.height - level));
        return c * (0.92f + 0.1f * p.grit + 0.06f * streak);
    }

    Rgb Desert(const Probe& p, float streak) const {
        const Rgb sand{204, 176, 132};
        const Rgb dark{168, 140, 104};
        const Rgb plateau{200, 188, 164};
        Rgb c = Mix(sand, dark, SmoothStep(-0.7f, 0.9f, p.patch + 0.4f * streak));
        c = Mix(c, plateau * (0.97f + 0.05f * streak), p.plateau);
        c = Mix(c, Rgb{96, 104, 70}, 0.8f * p.green * SmoothStep(-0.4f, 0.4f, p.grit));
        return c * (0.93f + 0.09f * p.grit + 0.05f * streak);
    }

    float year_;
    float south_level_;
    float north_level_;
    int octaves_;
};

}  // namespace

void DrawAralSea(int year, const Grain& grain, Raster& raster) {
    const AralSea scene(year, FinestWavelength(raster.width, raster.height));
    RenderScene(scene, grain, raster);
}

}  // namespace mirvane::photogen
