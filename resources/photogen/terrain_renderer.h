// Draws a scene into a raster, row by row, so that the slope at each pixel comes from its
// neighbours' heights instead of extra evaluations of the scene.
//
// A scene provides, in map coordinates where the unit square is the place itself:
//   Broad MeasureBroad(float x, float y) const;     // std::array<float, N>, smooth
//   Detail MeasureDetail(float x, float y) const;   // std::array<float, M>, finer
//   void Measure(float x, float y, const Broad&, const Detail&, Probe&) const;  // sets `height`
//   Rgb Shade(const Probe&, float x, float y, float slope_x, float slope_y) const;
// Broad fields are sampled about every 1/400 of the place, detail every other pixel in large
// photographs; both are interpolated, which is where most of the drawing time would otherwise
// go. Only features wider than the detail spacing may go into the detail fields.
//
// The photograph covers the unit square along its shorter side and shows more of the
// surroundings along the longer one.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "noise.h"
#include "raster.h"
#include "rgb.h"
#include "sparse_rows.h"

namespace mirvane::photogen {

struct Grain {
    float luma = 0.0f;    // peak amplitude on the 0..255 scale
    float chroma = 0.0f;  // peak amplitude of the independent colour part
    std::uint32_t seed = 0;
};

inline float PixelSize(int width, int height) {
    return 1.0f / static_cast<float>(std::min(width, height));
}

inline int DetailSpacing(int width, int height) {
    return std::min(width, height) >= 900 ? 2 : 1;
}

// The shortest wavelength, in map units, that the detail samples carry well: four samples to a
// wave. Finer texture is left to the sensor grain.
inline float FinestWavelength(int width, int height) {
    return 4.0f * static_cast<float>(DetailSpacing(width, height)) * PixelSize(width, height);
}

template <class Scene>
void RenderScene(const Scene& scene, const Grain& grain, Raster& raster) {
    using Probe = typename Scene::Probe;
    using Broad = typename Scene::Broad;
    using Detail = typename Scene::Detail;
    const int width = raster.width;
    const int height = raster.height;
    const float pixel = PixelSize(width, height);
    const PixelMap map{0.5f - 0.5f * static_cast<float>(width) * pixel,
                       0.5f - 0.5f * static_cast<float>(height) * pixel, pixel};
    // Each row carries one extra probe on either side for the horizontal slope.
    const int columns = width + 2;
    SparseRows<Broad> broad(map, width, (std::min(width, height) + 200) / 400);
    SparseRows<Detail> detail(map, width, DetailSpacing(width, height));
    auto sample_broad = [&](float x, float y) { return scene.MeasureBroad(x, y); };
    auto sample_detail = [&](float x, float y) { return scene.MeasureDetail(x, y); };

    std::vector<Probe> prev(columns), cur(columns), next(columns);
    auto measure_row = [&](std::vector<Probe>& row, int py) {
        const std::vector<Broad>& b = broad.Row(py, sample_broad);
        const std::vector<Detail>& d = detail.Row(py, sample_detail);
        const float y = map.Y(py);
        for (int i = 0; i < columns; ++i) {
            scene.Measure(map.X(i - 1), y, b[i], d[i], row[i]);
        }
    };
    measure_row(prev, -1);
    measure_row(cur, 0);

    const float inv_span = 1.0f / (2.0f * pixel);
    const float luma_scale = grain.luma / 255.0f;
    const float chroma_scale = grain.chroma / 255.0f;
    auto to_byte = [](float v) {
        v = v < 0.0f ? 0.0f : (v > 255.0f ? 255.0f : v);
        return static_cast<std::uint8_t>(v + 0.5f);
    };
    raster.rgb.assign(static_cast<std::size_t>(width) * height * 3, 0);
    std::uint8_t* out = raster.rgb.data();
    for (int py = 0; py < height; ++py) {
        measure_row(next, py + 1);
        const float y = map.Y(py);
        for (int px = 0; px < width; ++px) {
            const int i = px + 1;
            const float slope_x = (cur[i + 1].height - cur[i - 1].height) * inv_span;
            const float slope_y = (next[i].height - prev[i].height) * inv_span;
            const Rgb c = scene.Shade(cur[i], map.X(px), y, slope_x, slope_y);
            // Triangular sensor noise: a shared brightness part and a weaker colour part.
            const std::uint32_t h = Hash2(px, py, grain.seed);
            const int pair = static_cast<int>(h & 0xff) + static_cast<int>((h >> 8) & 0xff);
            const float luma = static_cast<float>(pair - 255) * luma_scale;
            const float cr =
                static_cast<float>(static_cast<int>((h >> 16) & 0xff) - 128) * chroma_scale;
            const float cb = static_cast<float>(static_cast<int>(h >> 24) - 128) * chroma_scale;
            out[0] = to_byte(c.r + luma + cr);
            out[1] = to_byte(c.g + luma - 0.5f * (cr + cb));
            out[2] = to_byte(c.b + luma + cb);
            out += 3;
        }
        std::swap(prev, cur);
        std::swap(cur, next);
    }
}

}  // namespace mirvane::photogen
