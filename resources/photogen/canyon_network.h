// A dendritic canyon system: a winding main canyon with side canyons branching off it, and
// branches off those, kept as short segments in a grid so a point only meets its neighbours.
#pragma once

#include <cstdint>
#include <vector>

namespace mirvane::photogen {

struct CanyonCut {
    float height;  // ground height after carving
    float axis;    // distance from the canyon's axis in half widths, 1 or more when uncut
    float floor;   // floor height of that canyon there
    int rank;      // 0 for the main canyon, more for each level of branching, -1 when uncut
};

struct MapPoint {
    float x;
    float y;
};

class CanyonNetwork {
  public:
    // The network under the reservoir, grown once from a fixed seed.
    static const CanyonNetwork& Reservoir();

    // Carves every nearby canyon out of ground at height `rim`; heights in metres.
    CanyonCut Carve(float x, float y, float rim) const;

    // A point on the main canyon's axis, `fraction` of the way from its downstream end.
    MapPoint AlongMain(float fraction) const;

  private:
    struct Segment {
        float ax, ay, dx, dy;
        float inv_length2;
        float floor_a, floor_b;
        float half_width;
        int rank;
    };
    struct Branch {
        MapPoint start;
        MapPoint direction;  // unit length
        float length;
        float half_width;
        float floor;
        float tip_floor;
        int rank;
    };

    CanyonNetwork();
    void Grow(const Branch& branch, std::uint32_t& state);
    void Index();

    std::vector<Segment> segments_;
    std::size_t main_count_ = 0;
    std::vector<std::uint32_t> cell_start_;
    std::vector<std::uint32_t> cell_items_;
};

}  // namespace mirvane::photogen
