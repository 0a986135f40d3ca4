#include "automation/sofm/detail/cluster_map.h"

#include <cmath>
#include <vector>

#include "automation/sofm/detail/sofm_kernels.h"
#include "automation/sofm/detail/step_team.h"

namespace {

// The units of a chunk (whole rows) that one thread of the cluster map
// takes at a time, the inputs measured against a chunk in one go (held in
// the fastest cache), and the inputs of a round, which keeps the nearest
// unit of every chunk for each of them.
constexpr int kChunkUnits = 2048;
constexpr int kPassInputs = 64;
constexpr int kRoundInputs = 512;
// Rounding of a sum of products, per value summed, in units of the sum of
// the products' sizes: a few times the double's epsilon.
constexpr double kRounding = 1e-15;

// The input nearest to a unit so far (-1: none): of equal distances the
// last input wins, as each input in turn takes the units it is at least as
// near to as the inputs before it; a distance that is no number loses.
struct nearest_input {
    double distance = 0.0;
    int input = -1;

    void offer(double d, int candidate)
    {
        if (input < 0 || d < distance || (d == distance && candidate > input) ||
            (std::isnan(distance) && (!std::isnan(d) || candidate > input))) {
            distance = d;
            input = candidate;
        }
    }
};

// Dot products of w with kGroup vectors laid out value by value: value k
// of vector l is xt[k * stride + l]. Each product is one running sum; the
// compiler vectorises across them, and enough of them run side by side to
// keep the adders busy.
constexpr int kGroup = 16;

VX_INNER_LOOP void dot_products(const double* w, const double* xt, int stride, int dim, double* out)
{
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0, s4 = 0.0, s5 = 0.0, s6 = 0.0, s7 = 0.0, s8 = 0.0,
           s9 = 0.0, s10 = 0.0, s11 = 0.0, s12 = 0.0, s13 = 0.0, s14 = 0.0, s15 = 0.0;
    for (int k = 0; k < dim; ++k) {
        const double wk = w[k];
        const double* x = xt + static_cast<size_t>(k) * static_cast<size_t>(stride);
        s0 += wk * x[0];
        s1 += wk * x[1];
        s2 += wk * x[2];
        s3 += wk * x[3];
        s4 += wk * x[4];
        s5 += wk * x[5];
        s6 += wk * x[6];
        s7 += wk * x[7];
        s8 += wk * x[8];
        s9 += wk * x[9];
        s10 += wk * x[10];
        s11 += wk * x[11];
        s12 += wk * x[12];
        s13 += wk * x[13];
        s14 += wk * x[14];
        s15 += wk * x[15];
    }
    out[0] = s0;
    out[1] = s1;
    out[2] = s2;
    out[3] = s3;
    out[4] = s4;
    out[5] = s5;
    out[6] = s6;
    out[7] = s7;
    out[8] = s8;
    out[9] = s9;
    out[10] = s10;
    out[11] = s11;
    out[12] = s12;
    out[13] = s13;
    out[14] = s14;
    out[15] = s15;
}

// The cluster map's search in both directions: for every input 1 .. n - 1
// the nearest unit, for every unit the nearest input. Rounds of inputs are
// each measured against every unit in one pass over the weights, a chunk of
// rows at a time, the chunk held in the core's cache while passes of the
// round's inputs go over it.
//
// A squared distance |w|^2 + |x|^2 - 2 w.x costs half the additions of one
// from the differences but loses digits: it is off by less than
// kRounding (dim + 2) (|w|^2 + |x|^2). Only a pair that this cannot rule
// out for the nearest unit of its input or the nearest input of its unit is
// measured exactly, so the result is that of measuring every pair.
class pair_search {
public:
    pair_search(sofm_params* map, const double* block, int round)
        : map_(*map),
          block_(block),
          dim_(map->dim),
          rows_(std::max(1, kChunkUnits / std::max(map->width, 1))),
          chunks_((map->height + rows_ - 1) / rows_),
          round_(round),
          slack_(1.0 - kRounding * (map->dim + 2)),
          nearest_(static_cast<size_t>(chunks_) * static_cast<size_t>(round)),
          own_(static_cast<size_t>(map->units)),
          unit_terms_(static_cast<size_t>(map->units)),
          input_terms_(static_cast<size_t>(round)),
          transposed_(static_cast<size_t>(padded(round)) * static_cast<size_t>(map->dim))
    {}

    int chunks() const { return chunks_; }

    // The units' terms (1 - slack) |w|^2, once.
    void prepare(step_team& team)
    {
        team.run_tasks(chunks_, [&](int chunk) {
            for (int j = first_unit(chunk); j < end_unit(chunk); ++j) {
                const double* w = unit_weights(block_, j, dim_);
                unit_terms_[static_cast<size_t>(j)] = slack_ * dot_product(w, w, dim_);
            }
        });
    }

    // Measures inputs first .. first + count - 1 (count <= round) against
    // every unit; a unit whose nearest input changes gets it as its label
    // and its distance in distance_map.
    void measure(step_team& team, int first, int count, double* distance_map, int* labels)
    {
        std::fill(transposed_.begin(), transposed_.end(), 0.0);
        for (int b = 0; b < count; ++b) {
            const double* x = input(first + b);
            input_terms_[static_cast<size_t>(b)] = slack_ * dot_product(x, x, dim_);
            double* pass = transposed_.data() + static_cast<size_t>(b / kPassInputs) *
                                                    static_cast<size_t>(kPassInputs * dim_);
            for (int k = 0; k < dim_; ++k)
                pass[static_cast<size_t>(k) * kPassInputs + b % kPassInputs] = x[k];
        }
        team.run_tasks(chunks_, [&](int chunk) {
            nearest_unit* best = &nearest_[static_cast<size_t>(chunk) * round_];
            std::fill(best, best + count, nearest_unit());
            for (int pass = 0; pass < count; pass += kPassInputs)
                measure_units(first_unit(chunk), end_unit(chunk), first, pass,
                              std::min(count, pass + kPassInputs), best, distance_map, labels);
        });
    }

    // The nearest unit of input first + b of the last round.
    int nearest_of(int b) const
    {
        nearest_unit winner;
        for (int chunk = 0; chunk < chunks_; ++chunk)
            winner.offer(nearest_[static_cast<size_t>(chunk) * round_ + b]);
        return winner.unit;
    }

private:
    static int padded(int count) { return (count + kPassInputs - 1) / kPassInputs * kPassInputs; }
    int first_unit(int chunk) const { return chunk * rows_ * map_.width; }
    int end_unit(int chunk) const
    {
        return std::min(map_.height, (chunk + 1) * rows_) * map_.width;
    }
    const double* input(int i) const { return map_.inputs->vectors[i].values; }

    // Units begin .. end - 1 against inputs first + pass .. first + pass_end - 1.
    VX_WIDE_PASS void measure_units(int begin, int end, int first, int pass, int pass_end,
                                    nearest_unit* best, double* distance_map, int* labels)
    {
        for (int j = begin; j < end; ++j)
            measure_unit(j, first, pass, pass_end, best, distance_map, labels);
    }

    VX_INNER_LOOP void measure_unit(int j, int first, int pass, int pass_end, nearest_unit* best,
                                    double* distance_map, int* labels)
    {
        const double* w = unit_weights(block_, j, dim_);
        const double* xt = transposed_.data() + static_cast<size_t>(pass) * dim_;
        nearest_input& unit = own_[static_cast<size_t>(j)];
        const int before = unit.input;
        double dots[kGroup];
        for (int group = pass; group < pass_end; group += kGroup) {
            dot_products(w, xt + (group - pass), kPassInputs, dim_, dots);
            for (int b = group; b < std::min(pass_end, group + kGroup); ++b) {
                const double rough = unit_terms_[static_cast<size_t>(j)] +
                                     input_terms_[static_cast<size_t>(b)] - 2.0 * dots[b - group];
                if (best[b].unit >= 0 && rough > best[b].distance && unit.input >= 0 &&
                    rough > unit.distance)
                    continue;
                const double s = squared_distance(w, input(first + b), dim_);
                best[b].offer(s, j);
                unit.offer(s, first + b);
            }
        }
        if (unit.input != before) {
            distance_map[j] = std::sqrt(unit.distance);
            if (labels != nullptr)
                labels[j] = unit.input;
            map_.weights->vectors[j].unit = unit.input;
        }
    }

    sofm_params& map_;
    const double* block_;
    const int dim_;
    const int rows_;    // per chunk
    const int chunks_;  // of the map
    const int round_;   // inputs per round
    const double slack_;
    std::vector<nearest_unit> nearest_;  // per chunk and input of the round
    std::vector<nearest_input> own_;     // per unit
    std::vector<double> unit_terms_;     // per unit
    std::vector<double> input_terms_;    // per input of the round
    std::vector<double> transposed_;     // the round's inputs, a pass at a time
};

}  // namespace

void locate_inputs(sofm_params* map, const double* block, double* distance_map, int* labels,
                   sofm_display_fn show, void* context, int workers)
{
    const cluster_map_run run(map, distance_map, labels, show, context);
    const int n = map->num_inputs;
    // The map shown after every input must be the map after that input:
    // then a round is one input.
    const int round = run.shows_each_input() ? 1 : kRoundInputs;
    pair_search pairs(map, block, round);
    // Label 0 means "no label", so input 0 takes no part.
    step_team::with_team(std::min(workers, std::max(pairs.chunks(), 1)), [&](step_team& team) {
        pairs.prepare(team);
        for (int first = 1; first < n; first += round) {
            const int count = std::min(round, n - first);
            pairs.measure(team, first, count, run.distances(), labels);
            for (int b = 0; b < count; ++b)
                run.place(first + b, pairs.nearest_of(b));
            // A refresh per round keeps a large map's display, and the
            // window that shows it, alive.
            if (round > 1 && first + round < n)
                run.display();
        }
    });
    run.finish();
}
