#include "photo_plan.h"

#include <algorithm>
#include <array>
#include <span>

#include "archive/catalog_years.h"
#include "noise.h"

namespace mirvane::photogen {

namespace {

struct Dimensions {
    int width;
    int height;
};

// The archive mixes scanner and camera sizes; each place has a few small early photographs
// and, for Columbia Glacier, six full-resolution frames of 5427 x 6790.
constexpr Dimensions kFull{5427, 6790};

constexpr std::array<Dimensions, 19> kAralSeaSizes = {{
    {720, 480},   {1920, 1080}, {2505, 2363}, {1600, 1200}, {2400, 2000},
    {1920, 1080}, {2048, 1536}, {1280, 960},  {4000, 3000}, {1920, 1080},
    {1600, 1200}, {1536, 2048}, {2400, 2000}, {1920, 1080}, {3000, 2400},
    {1600, 1200}, {1920, 1080}, {2048, 1536}, {2505, 2363},
}};

constexpr std::array<Dimensions, 29> kColumbiaGlacierSizes = {{
    {720, 480},   {1920, 1080}, {1600, 2000}, kFull,        {1600, 1200}, {1080, 1920},
    {2400, 1600}, {1536, 2048}, kFull,        {2048, 1536}, {1920, 1080}, {2000, 2400},
    {1280, 960},  kFull,        {2363, 2505}, {3600, 2400}, {1200, 1600}, {1920, 1080},
    kFull,        {1080, 1920}, {1600, 2400}, {2048, 1536}, {1280, 960},  kFull,
    {2400, 2000}, {1536, 2048}, {2400, 3000}, {1920, 1080}, kFull,
}};

constexpr std::array<Dimensions, 23> kLakePowellSizes = {{
    {720, 480},   {1920, 1080}, {3000, 2400}, {1600, 1200}, {2505, 2363}, {1920, 1080},
    {4000, 3000}, {1280, 960},  {2048, 1536}, {1920, 1080}, {2400, 2000}, {3600, 2400},
    {1600, 1200}, {1920, 1080}, {2048, 1536}, {2363, 2505}, {1280, 960},  {1920, 1080},
    {1600, 1200}, {2400, 2000}, {2048, 1536}, {1920, 1080}, {3000, 2400},
}};

static_assert(kAralSeaSizes.size() == archive_years::kAralSea.size());
static_assert(kColumbiaGlacierSizes.size() == archive_years::kColumbiaGlacier.size());
static_assert(kLakePowellSizes.size() == archive_years::kLakePowell.size());

constexpr std::array<std::span<const Dimensions>, 3> kSizes = {kAralSeaSizes, kColumbiaGlacierSizes,
                                                               kLakePowellSizes};

// Sensor grain per place: flat desert and open water compress far better than broken ice and
// rock, so they need more grain for the same file size.
constexpr std::array<float, 3> kPlaceGrain = {7.0f, 4.0f, 6.0f};

void ChooseEncoding(PhotoPlan& plan) {
    const int short_side = std::min(plan.width, plan.height);
    const long pixels = static_cast<long>(plan.width) * plan.height;
    plan.jpeg.progressive = plan.row % 3 == 2;
    plan.jpeg.exif_orientation = plan.row % 9 == 4;
    float grain = kPlaceGrain[plan.place];
    if (short_side <= 480) {
        // Small early frames were saved nearly losslessly.
        plan.jpeg.quality = 99;
        plan.jpeg.chroma = Chroma::k444;
        grain *= 1.8f;
    } else if (short_side <= 1080) {
        plan.jpeg.quality = 95;
        plan.jpeg.chroma = Chroma::k444;
        grain *= 1.2f;
    } else if (pixels >= 30'000'000L) {
        // Full-resolution scenes are delivered as baseline files: a progressive one of this
        // size must be held whole as coefficients to decode even a small preview of it.
        plan.jpeg.progressive = false;
        plan.jpeg.quality = 91;
        plan.jpeg.chroma = Chroma::k420;
    } else {
        plan.jpeg.quality = 94 + static_cast<int>(plan.row % 3);
        plan.jpeg.chroma = Chroma::k420;
    }
    plan.grain = {grain, 0.4f * grain, Mix32(static_cast<std::uint32_t>(plan.id))};
}

}  // namespace

std::vector<PhotoPlan> PlanArchive() {
    std::vector<PhotoPlan> plans;
    plans.reserve(archive_years::kRowCount);
    for (std::size_t place = 0; place < archive_years::kPlaces.size(); ++place) {
        const std::span<const int> years = archive_years::kPlaces[place].years;
        for (std::size_t i = 0; i < years.size(); ++i) {
            PhotoPlan plan;
            plan.row = plans.size();
            plan.id = archive_years::kFirstResourceId + static_cast<unsigned>(plan.row);
            plan.place = place;
            plan.year = years[i];
            plan.width = kSizes[place][i].width;
            plan.height = kSizes[place][i].height;
            ChooseEncoding(plan);
            plans.push_back(plan);
        }
    }
    return plans;
}

}  // namespace mirvane::photogen
