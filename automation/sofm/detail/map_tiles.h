#pragma once

// The map cut into tiles of 8 x 8 units, each with a bound on its weights:
// a centre (a copy of the weights of its middle unit) and a radius that no
// weight of the tile lies farther from. A search for the unit nearest to a
// vector measures the centres first and then only the tiles that the bound
// cannot rule out, a small part of the map once the map has some order.
// Not part of the library's interface.

#include <algorithm>
#include <vector>

#include "automation/sofm/detail/sofm_kernels.h"

// How a training step moves the units of a tile towards its input x: each
// by a rate within [low, high] (0 for a unit it leaves), the middle unit by
// `middle`; centre_distance is the squared distance of x to the tile's
// centre before the move, norm the length of x.
struct tile_move {
    double low = 0.0;
    double high = 0.0;
    double middle = 0.0;
    double centre_distance = 0.0;
    double norm = 0.0;
};

class map_tiles {
public:
    static constexpr int kSide = 8;

    map_tiles(int width, int height, int dim);

    int count() const { return columns_ * rows_; }
    // Tiles per row of tiles.
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int first_row(int tile) const { return tile / columns_ * kSide; }
    int end_row(int tile) const { return std::min(height_, first_row(tile) + kSide); }
    int first_col(int tile) const { return tile % columns_ * kSide; }
    int end_col(int tile) const { return std::min(width_, first_col(tile) + kSide); }
    // The unit whose weights are the tile's centre.
    int middle(int tile) const
    {
        return (first_row(tile) + end_row(tile)) / 2 * width_ +
               (first_col(tile) + end_col(tile)) / 2;
    }

    const double* centre(int tile) const
    {
        return centres_.data() + static_cast<size_t>(tile) * static_cast<size_t>(dim_);
    }
    double radius(int tile) const { return radii_[static_cast<size_t>(tile)]; }

    // Takes the tile's centre and radius afresh from the weights in block.
    void measure(int tile, const double* block);
    // The same for every tile of a row of tiles, reading the weights map
    // row by map row as they lie in memory.
    void measure_row(int tile_row, const double* block);
    // After a move of the tile's units: the centre taken afresh from its
    // middle unit, the radius grown by what the move can spread the tile.
    // The radius is measured anew when the tile is next caught up
    // (loose()) if that has more than doubled it since it was measured.
    void follow(int tile, const double* block, const tile_move& move);
    bool loose(int tile) const
    {
        return radii_[static_cast<size_t>(tile)] > 2.0 * measured_[static_cast<size_t>(tile)];
    }

    // No weight of the tile is nearer to a vector than this squared
    // distance, given the vector's squared distance to the tile's centre.
    // A margin covers the rounding of both distances; a bound that is no
    // number is 0.
    double lower_bound(int tile, double centre_distance) const;
    // The squared distances of y to the centres of tiles first .. end - 1.
    void measure_centres(int first, int end, const double* y, double* out) const;
    // The tiles that may hold a unit as near as the nearest centre, given
    // the squared distances of the centres to a vector.
    void candidates(const std::vector<double>& centre_distances, std::vector<int>& out) const;
    // The unit of the tile nearest to y.
    nearest_unit nearest_in(int tile, const double* block, const double* y) const;

private:
    void take_centre(int tile, const double* block);
    // farthest: the largest squared distance of a weight to the centre.
    void set_radius(int tile, double farthest);
    static double farther(double farthest, double d);

    int width_;
    int height_;
    int dim_;
    int columns_;
    int rows_;
    std::vector<double> centres_;  // count() x dim values
    std::vector<double> radii_;
    std::vector<double> measured_;  // the radius when last measured
};
