// Slowly varying fields sampled on a sparse grid of pixels and interpolated for every pixel of
// a row: most of the work of drawing a smooth field, at a fraction of the samples.
#pragma once

#include <array>
#include <utility>
#include <vector>

namespace mirvane::photogen {

// Maps pixel centres to map coordinates.
struct PixelMap {
    float left;   // map x of pixel column 0's left edge
    float top;    // map y of pixel row 0's top edge
    float pixel;  // map units per pixel

    float X(int px) const { return left + (static_cast<float>(px) + 0.5f) * pixel; }
    float Y(int py) const { return top + (static_cast<float>(py) + 0.5f) * pixel; }
};

// Catmull-Rom weights of four consecutive nodes for a point `t` of the way from the second to
// the third. Unlike straight-line blending, the result has a continuous slope, so hill shading
// computed from it shows no grid.
inline std::array<float, 4> CubicWeights(float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    return {0.5f * (-t3 + 2.0f * t2 - t), 0.5f * (3.0f * t3 - 5.0f * t2 + 2.0f),
            0.5f * (-3.0f * t3 + 4.0f * t2 + t), 0.5f * (t3 - t2)};
}

// `Fields` is a std::array<float, N>. Serves pixel columns -1 to `width` and rows from -1 on.
// Node k of a row or column sits at pixel spacing * (k - 2), so that every served pixel has two
// nodes on either side.
template <class Fields>
class SparseRows {
  public:
    SparseRows(const PixelMap& map, int width, int spacing)
        : map_(map), width_(width), spacing_(spacing), row_(width + 2) {
        const std::size_t nodes = static_cast<std::size_t>((width + 2 * spacing) / spacing + 3);
        for (std::vector<Fields>& node_row : nodes_) {
            node_row.resize(nodes);
        }
        between_.resize(nodes);
        for (int i = 0; i < spacing; ++i) {
            weights_.push_back(CubicWeights(static_cast<float>(i) / static_cast<float>(spacing)));
        }
    }

    // Fields of row `py` at columns -1 to `width`, as row()[px + 1]. Rows must come in
    // increasing order, one at a time. `sample(x, y)` returns the fields at a map point.
    template <class Sample>
    const std::vector<Fields>& Row(int py, const Sample& sample) {
        // Rows of nodes node_row - 1 to node_row + 2 surround pixel row py.
        const int node_row = (py + 2 * spacing_) / spacing_;
        if (node_row == top_row_ + 1) {
            std::swap(nodes_[0], nodes_[1]);
            std::swap(nodes_[1], nodes_[2]);
            std::swap(nodes_[2], nodes_[3]);
            MeasureNodes(nodes_[3], node_row + 2, sample);
        } else if (node_row != top_row_) {
            for (int k = 0; k < 4; ++k) {
                MeasureNodes(nodes_[k], node_row - 1 + k, sample);
            }
        }
        top_row_ = node_row;
        const std::array<float, 4>& wy = weights_[(py + 2 * spacing_) % spacing_];
        for (std::size_t i = 0; i < between_.size(); ++i) {
            Blend(nodes_[0][i], nodes_[1][i], nodes_[2][i], nodes_[3][i], wy, between_[i]);
        }
        for (int i = 0; i < width_ + 2; ++i) {
            const int shifted = i - 1 + 2 * spacing_;
            const int node = shifted / spacing_;
            Blend(between_[node - 1], between_[node], between_[node + 1], between_[node + 2],
                  weights_[shifted % spacing_], row_[i]);
        }
        return row_;
    }

  private:
    // Writes in place: a blended temporary copied afterwards stalls on store forwarding.
    static void Blend(const Fields& a, const Fields& b, const Fields& c, const Fields& d,
                      const std::array<float, 4>& w, Fields& out) {
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] = w[0] * a[i] + w[1] * b[i] + w[2] * c[i] + w[3] * d[i];
        }
    }

    template <class Sample>
    void MeasureNodes(std::vector<Fields>& nodes, int node_row, const Sample& sample) const {
        const float y = map_.Y((node_row - 2) * spacing_);
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            nodes[i] = sample(map_.X((static_cast<int>(i) - 2) * spacing_), y);
        }
    }

    PixelMap map_;
    int width_;
    int spacing_;
    int top_row_ = -1000;
    std::array<std::vector<Fields>, 4> nodes_;
    std::vector<Fields> between_;
    std::vector<Fields> row_;
    std::vector<std::array<float, 4>> weights_;
};

}  // namespace mirvane::photogen
