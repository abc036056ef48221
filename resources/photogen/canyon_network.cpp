#include "canyon_network.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace mirvane::photogen {

namespace {

// The grid spans every view of the place, the widest being 16:9.
constexpr float kGridOrigin = -0.5f;
constexpr float kGridSpan = 2.0f;
constexpr int kGridCells = 320;
constexpr float kCellSize = kGridSpan / kGridCells;
constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 2.0f * kPi;
constexpr MapPoint kMainStart{-0.55f, 0.92f};
constexpr MapPoint kMainEnd{1.55f, 0.08f};

float Uniform(std::uint32_t& state) {
    state = Mix32(state + 0x9e3779b9U);
    return static_cast<float>(state >> 8) * (1.0f / 16777216.0f);
}

// A polynomial sine, so that the network does not depend on which libm variant a machine picks.
float Sine(float a) {
    a -= kTwoPi * static_cast<float>(FloorToInt(a / kTwoPi + 0.5f));
    if (a > 0.5f * kPi) {
        a = kPi - a;
    } else if (a < -0.5f * kPi) {
        a = -kPi - a;
    }
    const float a2 = a * a;
    return a * (1.0f - a2 / 6.0f * (1.0f - a2 / 20.0f * (1.0f - a2 / 42.0f * (1.0f - a2 / 72.0f))));
}

// `direction` turned by `angle` radians, clockwise on screen (y points down).
MapPoint Turn(MapPoint direction, float angle) {
    const float s = Sine(angle);
    const float c = Sine(angle + 0.5f * kPi);
    return {c * direction.x - s * direction.y, s * direction.x + c * direction.y};
}

int CellOf(float v) {
    return std::clamp(FloorToInt((v - kGridOrigin) / kCellSize), 0, kGridCells - 1);
}

}  // namespace

const CanyonNetwork& CanyonNetwork::Reservoir() {
    static const CanyonNetwork network;
    return network;
}

CanyonNetwork::CanyonNetwork() {
    std::uint32_t state = 0x51f0c3a7U;
    // The river enters at the upper right and leaves through the dam beyond the lower left;
    // its bed rises upstream, so a falling reservoir uncovers the upper end first.
    constexpr float kDamFloor = -140.0f;
    constexpr float kHeadFloor = -12.0f;
    Grow({kMainStart, {1.0f, 0.0f}, 2.8f, 0.026f, kDamFloor, kHeadFloor, 0}, state);
    // A second river joins from the south-east and floods a long arm of its own.
    constexpr float kJoin = 0.42f;
    Grow({AlongMain(kJoin), Turn({1.0f, 0.0f}, 0.9f), 1.1f, 0.02f,
          Lerp(kDamFloor, kHeadFloor, kJoin) + 2.0f, -15.0f, 1},
         state);
    Index();
}

void CanyonNetwork::Grow(const Branch& branch, std::uint32_t& state) {
    constexpr float kStep[] = {0.01f, 0.007f, 0.006f, 0.005f};
    constexpr float kWavelength[] = {0.28f, 0.1f, 0.06f, 0.04f};
    constexpr float kSwing[] = {0.75f, 0.6f, 0.5f, 0.4f};
    constexpr float kBranching[] = {0.2f, 0.16f, 0.12f, 0.0f};
    const int rank = branch.rank;
    const float step = kStep[rank];
    const int steps = std::max(3, static_cast<int>(branch.length / step));
    const float rise = (branch.tip_floor - branch.floor) / static_cast<float>(steps);
    MapPoint at = branch.start;
    float phase = kTwoPi * Uniform(state);
    float drift = 0.0f;
    float side = Uniform(state) < 0.5f ? 1.0f : -1.0f;
    for (int i = 0; i < steps; ++i) {
        MapPoint towards = branch.direction;
        if (rank == 0) {
            // The river keeps making for where it leaves the map.
            const float ex = kMainEnd.x - at.x;
            const float ey = kMainEnd.y - at.y;
            const float length = std::sqrt(ex * ex + ey * ey);
            towards = {ex / length, ey / length};
        }
        // Meanders: a swing of irregular wavelength about the general direction.
        phase += kTwoPi * step / kWavelength[rank] * (0.7f + 0.6f * Uniform(state));
        drift = 0.85f * drift + 0.08f * (2.0f - 4.0f * Uniform(state));
        const MapPoint heading = Turn(towards, kSwing[rank] * Sine(phase) + drift);
        const float dx = heading.x * step;
        const float dy = heading.y * step;
        const float taper = 1.0f - 0.5f * static_cast<float>(i) / static_cast<float>(steps);
        const float floor_a = branch.floor + rise * static_cast<float>(i);
        segments_.push_back({at.x, at.y, dx, dy, 1.0f / (dx * dx + dy * dy), floor_a,
                             floor_a + rise, branch.half_width * taper, rank});
        at = {at.x + dx, at.y + dy};
        if (rank == 0) {
            ++main_count_;
        }
        if (i > 1 && i < steps - 3 && Uniform(state) < kBranching[rank]) {
            const float remaining =
                branch.length * (1.0f - static_cast<float>(i) / static_cast<float>(steps));
            const float reach = rank == 0 ? 0.1f + 0.25f * Uniform(state)
                                          : std::min(remaining * (0.3f + 0.4f * Uniform(state)),
                                                     rank == 1 ? 0.12f : 0.05f);
            const Branch child{at,
                               Turn(heading, side * (0.6f + 0.7f * Uniform(state))),
                               reach,
                               branch.half_width * taper * (0.5f + 0.2f * Uniform(state)),
                               floor_a + rise + 1.0f,
                               4.0f + 26.0f * Uniform(state),
                               rank + 1};
            side = -side;
            Grow(child, state);
        }
        if (rank == 0 && at.x > kMainEnd.x) {
            break;
        }
    }
}

void CanyonNetwork::Index() {
    std::vector<std::vector<std::uint32_t>> cells(kGridCells * kGridCells);
    for (std::uint32_t i = 0; i < segments_.size(); ++i) {
        const Segment& s = segments_[i];
        const float r = s.half_width;
        const int x0 = CellOf(std::min(s.ax, s.ax + s.dx) - r);
        const int x1 = CellOf(std::max(s.ax, s.ax + s.dx) + r);
        const int y0 = CellOf(std::min(s.ay, s.ay + s.dy) - r);
        const int y1 = CellOf(std::max(s.ay, s.ay + s.dy) + r);
        for (int cy = y0; cy <= y1; ++cy) {
            for (int cx = x0; cx <= x1; ++cx) {
                cells[cy * kGridCells + cx].push_back(i);
            }
        }
    }
    cell_start_.assign(1, 0);
    for (const auto& cell : cells) {
        cell_items_.insert(cell_items_.end(), cell.begin(), cell.end());
        cell_start_.push_back(static_cast<std::uint32_t>(cell_items_.size()));
    }
}

CanyonCut CanyonNetwork::Carve(float x, float y, float rim) const {
    CanyonCut cut{rim, 1.0f, rim, -1};
    if (x < kGridOrigin || y < kGridOrigin || x >= kGridOrigin + kGridSpan ||
        y >= kGridOrigin + kGridSpan) {
        return cut;
    }
    const int cell = CellOf(y) * kGridCells + CellOf(x);
    for (std::uint32_t k = cell_start_[cell]; k < cell_start_[cell + 1]; ++k) {
        const Segment& s = segments_[cell_items_[k]];
        const float t = Clamp01(((x - s.ax) * s.dx + (y - s.ay) * s.dy) * s.inv_length2);
        const float qx = s.ax + t * s.dx - x;
        const float qy = s.ay + t * s.dy - y;
        const float d2 = qx * qx + qy * qy;
        if (d2 >= s.half_width * s.half_width) {
            continue;
        }
        const float floor = Lerp(s.floor_a, s.floor_b, t);
        if (floor >= cut.height) {
            continue;
        }
        // Flat floor, walls steepening up to a sharp rim.
        const float r = std::sqrt(d2) / s.half_width;
        const float height = floor + (rim - floor) * r * r * (2.0f - r);
        if (height < cut.height) {
            cut = {height, r, floor, s.rank};
        }
    }
    return cut;
}

MapPoint CanyonNetwork::AlongMain(float fraction) const {
    // The main canyon's segments are interleaved with its branches' in growth order.
    const std::size_t wanted = static_cast<std::size_t>(fraction * static_cast<float>(main_count_));
    std::size_t seen = 0;
    for (const Segment& s : segments_) {
        if (s.rank == 0 && seen++ == wanted) {
            return {s.ax, s.ay};
        }
    }
    return {0.5f, 0.5f};
}

}  // namespace mirvane::photogen
