#include "automation/sofm/detail/sofm_training.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "automation/sofm/detail/map_tiles.h"
#include "automation/sofm/detail/sofm_kernels.h"
#include "automation/sofm/detail/step_move.h"
#include "automation/sofm/detail/step_team.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

namespace {

// Steps whose moves wait in the log at most before every unit takes them.
constexpr int kMaxPending = 32;
// Candidate tiles that one thread of a search takes at a time.
constexpr int kSearchTiles = 4;

// What the threads of a pass share.
//
// A step's move reaches the tiles lazily: the middle unit of every tile it
// touches (the tile's centre) moves at once and the tile's bound follows it;
// the other units take the logged moves they missed when their tile is
// searched, and all units before the local distances are measured and at
// the end of the pass. Every unit takes the same moves in the same order as
// when all move at once, but a tile's weights pass through the cache once
// for several steps.
struct pass_state {
    pass_state(sofm_params* map, double* block)
        : map(*map),
          block(block),
          tiles(map->width, map->height, map->dim),
          caught_up(static_cast<size_t>(tiles.count()), 0),
          centre_distances(static_cast<size_t>(tiles.count())),
          bests(static_cast<size_t>(tiles.count())),
          column_spans(static_cast<size_t>(tiles.columns())),
          row_spans(static_cast<size_t>(tiles.rows())),
          lows(static_cast<size_t>(tiles.rows())),
          highs(static_cast<size_t>(tiles.rows()))
    {
        log.reserve(kMaxPending);
        for (int s = 0; s < kMaxPending; ++s)
            log.emplace_back(*map);
        candidates.reserve(static_cast<size_t>(tiles.count()));
    }

    const double* input(int position) const
    {
        return map.inputs->vectors[map.order[position]].values;
    }

    sofm_params& map;
    double* block;
    map_tiles tiles;
    std::vector<step_move> log;
    int pending = 0;                            // steps in the log
    std::vector<int> caught_up;                 // per tile: logged steps its units have taken
    std::vector<double> centre_distances;       // per tile, to the vector searched for next
    std::vector<int> candidates;                // tiles the search measures
    std::vector<nearest_unit> bests;            // per candidate
    std::vector<step_move::span> column_spans;  // of the latest step, per column of tiles
    std::vector<step_move::span> row_spans;     // per row of tiles
    std::vector<double> lows;                   // for local_distances
    std::vector<double> highs;
};

// The units of tile in map row `row`, but its middle unit, take the logged
// moves they missed.
VX_WIDE_PASS void catch_up_units(pass_state& pass, int tile, int row)
{
    const int from = pass.caught_up[static_cast<size_t>(tile)];
    if (from == pass.pending)
        return;
    const int width = pass.map.width;
    const int dim = pass.map.dim;
    int dy[kMaxPending];
    for (int s = from; s < pass.pending; ++s)
        dy[s] = pass.log[static_cast<size_t>(s)].dy(row);
    const int middle = pass.tiles.middle(tile);
    for (int col = pass.tiles.first_col(tile); col < pass.tiles.end_col(tile); ++col) {
        const int unit = row * width + col;
        if (unit == middle)
            continue;
        double* w = unit_weights(pass.block, unit, dim);
        for (int s = from; s < pass.pending; ++s) {
            const step_move& move = pass.log[static_cast<size_t>(s)];
            const double rate = move.rate(move.dx(col), dy[s]);
            if (rate >= 0.0)
                move_towards(w, move.input(), rate, dim);
        }
    }
}

void catch_up(pass_state& pass, int tile)
{
    for (int row = pass.tiles.first_row(tile); row < pass.tiles.end_row(tile); ++row)
        catch_up_units(pass, tile, row);
    pass.caught_up[static_cast<size_t>(tile)] = pass.pending;
}

// Every unit takes the logged moves, map row by map row as the weights lie
// in memory; the log is emptied.
void catch_up_all(pass_state& pass, step_team& team)
{
    if (pass.pending == 0)
        return;
    const map_tiles& tiles = pass.tiles;
    team.run_tasks(tiles.rows(), [&](int tile_row) {
        const int first = tile_row * tiles.columns();
        for (int row = tiles.first_row(first); row < tiles.end_row(first); ++row)
            for (int tile = first; tile < first + tiles.columns(); ++tile)
                catch_up_units(pass, tile, row);
    });
    std::fill(pass.caught_up.begin(), pass.caught_up.end(), 0);
    pass.pending = 0;
}

// Every tile measured afresh, and the distances of the centres to next.
void measure_tiles(pass_state& pass, step_team& team, const double* next)
{
    map_tiles& tiles = pass.tiles;
    team.run_tasks(tiles.rows(), [&](int tile_row) {
        tiles.measure_row(tile_row, pass.block);
        const int first = tile_row * tiles.columns();
        tiles.measure_centres(first, first + tiles.columns(), next,
                              &pass.centre_distances[static_cast<size_t>(first)]);
    });
}

// The step's move reaches the middle unit and the bound of every tile it
// touches; then the distances of the centres to next (when not null).
void move_centres(pass_state& pass, step_team& team, const step_move& move, const double* next)
{
    map_tiles& tiles = pass.tiles;
    const int dim = pass.map.dim;
    const double* x = move.input();
    const double norm = std::sqrt(dot_product(x, x, dim));
    for (int column = 0; column < tiles.columns(); ++column)
        pass.column_spans[static_cast<size_t>(column)] =
            move.columns(tiles.first_col(column), tiles.end_col(column));
    for (int row = 0; row < tiles.rows(); ++row) {
        const int tile = row * tiles.columns();
        pass.row_spans[static_cast<size_t>(row)] =
            move.rows(tiles.first_row(tile), tiles.end_row(tile));
    }
    // Rates fall with the distance from the winner.
    const auto rate = [&](int dx, int dy) { return std::max(move.rate(dx, dy), 0.0); };
    team.run_tasks(tiles.rows(), [&](int tile_row) {
        const step_move::span& rows = pass.row_spans[static_cast<size_t>(tile_row)];
        for (int tile = tile_row * tiles.columns(); tile < (tile_row + 1) * tiles.columns();
             ++tile) {
            const step_move::span& columns =
                pass.column_spans[static_cast<size_t>(tile % tiles.columns())];
            if (rows.inside && columns.inside) {
                const int middle = tiles.middle(tile);
                const int width = pass.map.width;
                const double centre_rate =
                    move.rate(move.dx(middle % width), move.dy(middle / width));
                if (centre_rate >= 0.0)
                    move_towards(unit_weights(pass.block, middle, dim), x, centre_rate, dim);
                tile_move bound;
                bound.high = rate(columns.nearest, rows.nearest);
                bound.low = columns.gaps || rows.gaps ? 0.0 : rate(columns.farthest, rows.farthest);
                bound.middle = std::max(centre_rate, 0.0);
                bound.centre_distance = pass.centre_distances[static_cast<size_t>(tile)];
                bound.norm = norm;
                tiles.follow(tile, pass.block, bound);
            }
        }
        if (next != nullptr) {
            const int first = tile_row * tiles.columns();
            tiles.measure_centres(first, first + tiles.columns(), next,
                                  &pass.centre_distances[static_cast<size_t>(first)]);
        }
    });
}

// The unit nearest to next, the centre distances being those of next: the
// tiles whose bound admits a unit as near as the nearest centre catch up
// and are measured unit by unit.
int search(pass_state& pass, step_team& team, const double* next)
{
    map_tiles& tiles = pass.tiles;
    tiles.candidates(pass.centre_distances, pass.candidates);
    const int count = static_cast<int>(pass.candidates.size());
    team.run_tasks((count + kSearchTiles - 1) / kSearchTiles, [&](int task) {
        for (int c = task * kSearchTiles; c < std::min(count, (task + 1) * kSearchTiles); ++c) {
            const int tile = pass.candidates[static_cast<size_t>(c)];
            catch_up(pass, tile);
            if (tiles.loose(tile))
                tiles.measure(tile, pass.block);
            pass.bests[static_cast<size_t>(c)] = tiles.nearest_in(tile, pass.block, next);
        }
    });
    nearest_unit winner;
    for (int c = 0; c < count; ++c)
        winner.offer(pass.bests[static_cast<size_t>(c)]);
    return winner.unit;
}

bool is_neighbor(const sofm_params& map, int unit, int offset)
{
    const int other = unit + offset;
    if (other < 0 || other >= map.units)
        return false;
    const int dc = other % map.width - unit % map.width;
    return dc >= -1 && dc <= 1;
}

// The local distances of the units first .. end - 1, and their least and
// greatest.
VX_WIDE_PASS void local_distance_run(sofm_params& map, const double* block, int first, int end,
                                     double& least, double& greatest)
{
    const int offsets[2] = {1, map.width + 1};
    double lo = 0.0;
    double hi = 0.0;
    for (int i = first; i < end; ++i) {
        double sum = 0.0;
        int n = 0;
        for (int offset : offsets)
            if (is_neighbor(map, i, offset)) {
                sum +=
                    std::sqrt(squared_distance(unit_weights(block, i, map.dim),
                                               unit_weights(block, i + offset, map.dim), map.dim));
                ++n;
            }
        const double d = n > 0 ? sum / n : 0.0;
        map.local_dist[i] = d;
        lo = i == first || d < lo ? d : lo;
        hi = i == first || d > hi ? d : hi;
    }
    least = lo;
    greatest = hi;
}

// update_display: the local distances of every unit, then the markers drawn
// from them; lows and highs hold one entry per row of tiles.
void local_distances(sofm_params& map, const double* block, step_team& team,
                     std::vector<double>& lows, std::vector<double>& highs)
{
    team.run_tasks(static_cast<int>(lows.size()), [&](int tile_row) {
        const int first = tile_row * map_tiles::kSide * map.width;
        const int end = std::min(map.height, (tile_row + 1) * map_tiles::kSide) * map.width;
        local_distance_run(map, block, first, end, lows[static_cast<size_t>(tile_row)],
                           highs[static_cast<size_t>(tile_row)]);
    });
    double lo = lows.empty() ? 0.0 : lows[0];
    double hi = highs.empty() ? 0.0 : highs[0];
    for (size_t r = 1; r < lows.size(); ++r) {
        lo = lows[r] < lo ? lows[r] : lo;
        hi = highs[r] > hi ? highs[r] : hi;
    }
    vx_report("Local Neighbor Distances: MinDist %s, MaxDist %s\n", vx_fixed(lo).text,
              vx_fixed(hi).text);
    sofm_draw_markers(&map, map.local_dist);
}

}  // namespace

void train_pass(sofm_params* map, double* block, int display_steps, sofm_display_fn show,
                void* context, const bool* stop, int workers)
{
    int interval = display_steps;
    if (interval <= 0)
        interval = std::max(10, static_cast<int>(map->num_inputs * 0.01));
    init_processedvecs(map);
    if (map->num_inputs < 1 || map->step >= map->max_steps)
        return;
    const int report = map->num_inputs / 10 + 1;
    pass_state pass(map, block);
    step_team::with_team(std::min(workers, pass.tiles.rows()), [&](step_team& team) {
        int winner = -1;
        for (; map->current < map->num_inputs && map->step < map->max_steps; ++map->current) {
            if (map->current % interval == 0) {
                catch_up_all(pass, team);
                local_distances(*map, block, team, pass.lows, pass.highs);
                if (show != nullptr)
                    show(map, context);
                if (stop != nullptr && *stop)
                    break;
            }
            if (map->current % report == 0)
                vx_report("Step %d\n", map->step);
            ++map->step;
            const double* in = pass.input(map->current);
            if (winner < 0) {
                measure_tiles(pass, team, in);
                winner = search(pass, team, in);
            }
            const double* next = map->current + 1 < map->num_inputs && map->step < map->max_steps
                                     ? pass.input(map->current + 1)
                                     : nullptr;
            if (pass.pending == kMaxPending)
                catch_up_all(pass, team);
            step_move& move = pass.log[static_cast<size_t>(pass.pending++)];
            move.set(*map, winner, in);
            move_centres(pass, team, move, next);
            winner = next != nullptr ? search(pass, team, next) : -1;
        }
        catch_up_all(pass, team);
    });
}

void draw_local_distances(sofm_params* map, const double* block, int workers)
{
    const size_t tile_rows =
        static_cast<size_t>((map->height + map_tiles::kSide - 1) / map_tiles::kSide);
    std::vector<double> lows(tile_rows);
    std::vector<double> highs(tile_rows);
    step_team::with_team(std::min(workers, static_cast<int>(tile_rows)),
                         [&](step_team& team) { local_distances(*map, block, team, lows, highs); });
}
