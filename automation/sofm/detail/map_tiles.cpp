#include "automation/sofm/detail/map_tiles.h"

#include <cmath>

namespace {

// Relative margin for the rounding of a distance of a few thousand values:
// each is off by far less than 1e-12 of itself.
constexpr double kSlack = 1e-9;

// The squared distances of y to count vectors of dim values in a row.
VX_WIDE_PASS void squared_distances(const double* vectors, int count, const double* y, int dim,
                                    double* out)
{
    for (int i = 0; i < count; ++i)
        out[i] =
            squared_distance(vectors + static_cast<size_t>(i) * static_cast<size_t>(dim), y, dim);
}

// Offers each of count weights in a row, the first of unit first, as
// nearest to y.
VX_WIDE_PASS void nearest_of(const double* weights, int count, int first, const double* y, int dim,
                             nearest_unit& best)
{
    nearest_unit nearest = best;
    for (int i = 0; i < count; ++i)
        nearest.offer(
            squared_distance(weights + static_cast<size_t>(i) * static_cast<size_t>(dim), y, dim),
            first + i);
    best = nearest;
}

}  // namespace

map_tiles::map_tiles(int width, int height, int dim)
    : width_(width),
      height_(height),
      dim_(dim),
      columns_((width + kSide - 1) / kSide),
      rows_((height + kSide - 1) / kSide),
      centres_(static_cast<size_t>(count()) * static_cast<size_t>(dim)),
      radii_(static_cast<size_t>(count())),
      measured_(static_cast<size_t>(count()))
{}

void map_tiles::take_centre(int tile, const double* block)
{
    const double* weights = unit_weights(block, middle(tile), dim_);
    std::copy(weights, weights + dim_,
              centres_.begin() + static_cast<long>(tile) * static_cast<long>(dim_));
}

double map_tiles::farther(double farthest, double d)
{
    // A weight that is no number makes the bound no number.
    return d > farthest || std::isnan(d) ? d : farthest;
}

void map_tiles::set_radius(int tile, double farthest)
{
    radii_[static_cast<size_t>(tile)] = std::sqrt(farthest) * (1.0 + kSlack);
    measured_[static_cast<size_t>(tile)] = radii_[static_cast<size_t>(tile)];
}

void map_tiles::measure(int tile, const double* block)
{
    take_centre(tile, block);
    double farthest = 0.0;
    for (int row = first_row(tile); row < end_row(tile); ++row)
        for (int col = first_col(tile); col < end_col(tile); ++col)
            farthest =
                farther(farthest, squared_distance(unit_weights(block, row * width_ + col, dim_),
                                                   centre(tile), dim_));
    set_radius(tile, farthest);
}

void map_tiles::measure_row(int tile_row, const double* block)
{
    const int first = tile_row * columns_;
    for (int tile = first; tile < first + columns_; ++tile) {
        take_centre(tile, block);
        radii_[static_cast<size_t>(tile)] = 0.0;
    }
    for (int row = first_row(first); row < end_row(first); ++row)
        for (int tile = first; tile < first + columns_; ++tile) {
            double& farthest = radii_[static_cast<size_t>(tile)];
            for (int col = first_col(tile); col < end_col(tile); ++col)
                farthest = farther(farthest,
                                   squared_distance(unit_weights(block, row * width_ + col, dim_),
                                                    centre(tile), dim_));
        }
    for (int tile = first; tile < first + columns_; ++tile)
        set_radius(tile, radii_[static_cast<size_t>(tile)]);
}

void map_tiles::follow(int tile, const double* block, const tile_move& move)
{
    // A unit moves to w + a (x - w) and the centre c to c + a_c (x - c), so
    // |w' - c'| <= |1 - a| |w - c| + |a - a_c| |x - c|, largest at an end of
    // the tile's range of rates. The margin covers the rounding of the
    // moves, each off by a few units in the last place of |x| + |x - w|.
    const double r = radii_[static_cast<size_t>(tile)];
    const double reach = std::sqrt(move.centre_distance) * (1.0 + kSlack);
    const auto spread = [&](double a) {
        return std::abs(1.0 - a) * r + std::abs(a - move.middle) * reach;
    };
    const double margin = kSlack * (move.norm + 2.0 * reach + 2.0 * r);
    radii_[static_cast<size_t>(tile)] =
        (std::max(spread(move.low), spread(move.high)) + margin) * (1.0 + kSlack);
    take_centre(tile, block);
}

double map_tiles::lower_bound(int tile, double centre_distance) const
{
    const double reach =
        std::sqrt(centre_distance) * (1.0 - kSlack) - radii_[static_cast<size_t>(tile)];
    return reach > 0.0 ? reach * reach * (1.0 - kSlack) : 0.0;
}

void map_tiles::candidates(const std::vector<double>& centre_distances, std::vector<int>& out) const
{
    // Each centre is a unit's weights, so the nearest one bounds the search.
    nearest_unit best;
    for (int tile = 0; tile < count(); ++tile)
        best.offer(centre_distances[static_cast<size_t>(tile)], middle(tile));
    out.clear();
    for (int tile = 0; tile < count(); ++tile)
        if (!(lower_bound(tile, centre_distances[static_cast<size_t>(tile)]) > best.distance))
            out.push_back(tile);
}

void map_tiles::measure_centres(int first, int end, const double* y, double* out) const
{
    squared_distances(centre(first), end - first, y, dim_, out);
}

nearest_unit map_tiles::nearest_in(int tile, const double* block, const double* y) const
{
    nearest_unit best;
    for (int row = first_row(tile); row < end_row(tile); ++row) {
        const int first = row * width_ + first_col(tile);
        nearest_of(unit_weights(block, first, dim_), end_col(tile) - first_col(tile), first, y,
                   dim_, best);
    }
    return best;
}
