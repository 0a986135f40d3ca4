#include "analyse/vectors/kohonen.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "imagecore/fatal.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

namespace {

constexpr const char* kNoMemory = " Not enough Mem for the SOM\n";

long seed_a = 0;
long seed_b = 0;

template <typename T>
T* alloc_array(int n)
{
    return static_cast<T*>(
        vx_calloc(static_cast<size_t>(n), sizeof(T), exit_code::out_of_memory, kNoMemory));
}

vector& input_at(sofm_params* map, int i)
{
    return map->inputs->vectors[i];
}

vector& weight_at(sofm_params* map, int unit)
{
    return map->weights->vectors[unit];
}

// Non-negative remainder, for wrapping grid coordinates around the torus.
int wrap(int a, int n)
{
    const int r = a % n;
    return r < 0 ? r + n : r;
}

// Whether unit + offset lies on the map next to unit (no wrap across a row).
bool is_neighbor(const sofm_params* map, int unit, int offset)
{
    const int other = unit + offset;
    if (other < 0 || other >= map->units)
        return false;
    const int dc = other % map->width - unit % map->width;
    return dc >= -1 && dc <= 1;
}

// The unit whose weight is nearest to `in` (the lowest of tied ones); every
// unit's distance is also handed to visit(unit, distance).
template <typename Visit>
int nearest_unit(sofm_params* map, const vector& in, Visit visit)
{
    int best = 0;
    double best_dist = 0.0;
    for (int j = 0; j < map->units; ++j) {
        const double d = euclidian_distance(&weight_at(map, j), &in, map->dim);
        if (j == 0 || d < best_dist) {
            best = j;
            best_dist = d;
        }
        visit(j, d);
    }
    return best;
}

void min_max(const double* values, int n, double& lo, double& hi)
{
    lo = hi = n > 0 ? values[0] : 0.0;
    for (int i = 1; i < n; ++i) {
        lo = values[i] < lo ? values[i] : lo;
        hi = values[i] > hi ? values[i] : hi;
    }
}

void place(vector& v, int unit, int width, int height)
{
    v.col = unit % width;
    v.row = unit / width;
    v.x = static_cast<double>(v.col) / width;
    v.y = static_cast<double>(v.row) / height;
}

double fold_unit_interval(double p)
{
    if (p < 0.0)
        return p - std::trunc(p) + 1.0;
    if (p > 1.0)
        return p - std::trunc(p);
    return p;
}

// One pass over the inputs, refreshing the local distances every `interval`
// inputs; `announce` prints each refresh.
void training_pass(sofm_params* map, int interval, bool announce, sofm_display_fn show,
                   void* context)
{
    init_processedvecs(map);
    const int report = map->num_inputs / 10 + 1;
    for (; map->current < map->num_inputs && map->step < map->max_steps; ++map->current) {
        if (map->current % interval == 0) {
            if (announce)
                vx_report("step %d update display\n", map->step);
            update_display(map);
            if (show != nullptr)
                show(map, context);
        }
        if (map->current % report == 0)
            vx_report("Step %d\n", map->step);
        ++map->step;
        sofm_adaptionstep(map);
    }
}

void run(sofm_params* map, int display_steps, bool with_display, double* distance_map, int* labels,
         sofm_display_fn show, void* context)
{
    const long start = static_cast<long>(std::time(nullptr));
    vx_report("SOFM Computation Start at %ld\n", start);
    while (map->step < map->max_steps && map->num_inputs > 0) {
        if (with_display)
            sofm_step_display(map, display_steps, show, context);
        else
            sofm_step(map);
    }
    const long stop = static_cast<long>(std::time(nullptr));
    vx_report("Computation stop %ld\n Computation and I/O took %ld second(s)\n", stop,
              stop - start);
    vx_report("Initializing Cluster Map\n");
    init_cluster_map(map, distance_map, labels, show, context);
}

}  // namespace

sofm_params* create_sofm_params(int width, int height, vector_array* inputs)
{
    if (width < 1 || height < 1 || width > INT_MAX / height || inputs == nullptr ||
        inputs->dim < 0) {
        vx_report("Could not initialize SOM of %d x %d units%s\n", width, height,
                  inputs == nullptr ? " without inputs" : "");
        return nullptr;
    }
    auto* map = static_cast<sofm_params*>(
        vx_calloc(1, sizeof(sofm_params), exit_code::out_of_memory, kNoMemory));
    map->width = width;
    map->height = height;
    map->units = width * height;
    map->dim = inputs->dim;
    map->num_inputs = inputs->count;
    map->inputs = inputs;
    map->marker = alloc_array<int>(map->units);
    map->local_dist = alloc_array<double>(map->units);
    map->order = alloc_array<int>(map->num_inputs);
    map->cluster_center = alloc_array<int>(map->num_inputs);
    map->max = alloc_array<double>(map->dim);
    map->min = alloc_array<double>(map->dim);
    map->weights = init_vector_array(map->dim, map->units, 0.0);
    return map;
}

sofm_params* init_sofm(int width, int height, vector_array* inputs, double learn_rate,
                       double learn_scope, int max_steps, int function, int normalization)
{
    sofm_params* map = create_sofm_params(width, height, inputs);
    if (map == nullptr)
        return nullptr;
    map->learn_rate = learn_rate;
    map->learn_scope = learn_scope;
    map->max_steps = max_steps;
    map->normalization = normalization;
    map->function = function;

    vx_report("Initalizing  SOM with ");
    vx_report("2-d Grid: (X) %d * (Y) %d = %d weightvectors\n", width, height, map->units);
    vx_report("Input: %d vectors, dimension %d\n", map->num_inputs, map->dim);
    vx_report("Learning: max %d steps, rate %s, radius %s\n\n", max_steps,
              vx_fixed(learn_rate).text, vx_fixed(learn_scope).text);

    minmax_interval(map);
    init_weight_vecs(map);
    init_processedvecs(map);
    update_display(map);
    return map;
}

void delete_sofm(sofm_params* map)
{
    if (map == nullptr)
        return;
    delete_vector_array(map->weights);
    std::free(map->order);
    std::free(map->marker);
    std::free(map->cluster_center);
    std::free(map->local_dist);
    std::free(map->max);
    std::free(map->min);
    std::free(map);
}

void setseed(long a, long b)
{
    seed_a = a;
    seed_b = b;
}

void minmax_interval(sofm_params* map)
{
    const vector_array* in = map->inputs;
    for (int k = 0; k < map->dim; ++k) {
        double lo = in->count > 0 ? in->vectors[0].values[k] : 0.0;
        double hi = lo;
        for (int i = 1; i < in->count; ++i) {
            const double v = in->vectors[i].values[k];
            lo = v < lo ? v : lo;
            hi = v > hi ? v : hi;
        }
        map->min[k] = lo;
        map->max[k] = hi;
        if (in->names != nullptr)
            vx_report("%s: Min %s Max %s\n", in->names[k], vx_fixed(lo).text, vx_fixed(hi).text);
        else
            vx_report("Dim %d: Min %s Max %s\n", k, vx_fixed(lo).text, vx_fixed(hi).text);
    }
}

void interval_normalize_input(sofm_params* map)
{
    for (int i = 0; i < map->num_inputs; ++i) {
        double* v = input_at(map, i).values;
        for (int k = 0; k < map->dim; ++k) {
            const double range = map->max[k] - map->min[k];
            v[k] = range != 0.0 ? (v[k] - map->min[k]) / range : v[k] - map->min[k];
        }
    }
}

void euclidian_normalize_input(sofm_params* map)
{
    for (int i = 0; i < map->num_inputs; ++i) {
        vector& v = input_at(map, i);
        const double len = euclidian_norm(&v, map->dim);
        if (len > 0.0)
            vector_add(1.0 / len, &v, nullptr, map->dim);
    }
}

void init_weight_vecs(sofm_params* map)
{
    init_weight_vecs_from(
        map, [](void*) { return std::rand() / 2147483647.0; }, nullptr);
}

void init_weight_vecs_from(sofm_params* map, double (*uniform)(void* context), void* context)
{
    for (int i = 0; i < map->units; ++i) {
        double* w = weight_at(map, i).values;
        for (int k = 0; k < map->dim; ++k) {
            const double r = uniform(context);
            w[k] = r * (map->max[k] - 2.0 * map->min[k]);
        }
    }
    // With more inputs than units every unit seeds one input.
    const int spacing =
        map->num_inputs > 0 && map->units > map->num_inputs ? map->units / map->num_inputs : 1;
    int next = 0;
    for (int i = 0; i < map->units; ++i) {
        vector& w = weight_at(map, i);
        place(w, i, map->width, map->height);
        w.unit = -1;
        if (i % spacing == 0 && next < map->num_inputs) {
            vector& seed = input_at(map, next);
            place(seed, i, map->width, map->height);
            seed.unit = i;
            w.unit = next++;
        }
    }
}

void init_processedvecs(sofm_params* map)
{
    vx_report("re-init process control...");
    for (int i = 0; i < map->num_inputs; ++i)
        map->order[i] = i;
    map->current = 0;
    vx_report("done\n");
}

double square(double x)
{
    return x * x;
}

double euclidian_norm(const vector* v, int n)
{
    return euclidian_distance(v, nullptr, n);
}

double euclidian_distance(const vector* v, const vector* w, int n)
{
    double sum = 0.0;
    for (int k = 0; k < n; ++k) {
        const double d = w != nullptr ? v->values[k] - w->values[k] : v->values[k];
        sum += d * d;
    }
    return std::sqrt(sum);
}

double euclidian_normed_distance(const vector* v, const vector* w, int n)
{
    return n > 0 ? euclidian_distance(v, w, n) / std::sqrt(static_cast<double>(n)) : 0.0;
}

void displace_representant(vector* v, const vector* w, double x)
{
    const double dx = v->x - w->x;
    const double dy = v->y - w->y;
    const double d = std::sqrt(dx * dx + dy * dy);
    v->x = fold_unit_interval(v->x + x * d * dx);
    v->y = fold_unit_interval(v->y + x * d * dy);
}

double cone_weight(double a, double b)
{
    return (b - a) / b;
}

double gauss_weight(double a, double b)
{
    return std::exp(-(a * a) / (2.0 * b * b));
}

void sofm_adaptionstep(sofm_params* map)
{
    if (map->current < 0 || map->current >= map->num_inputs || map->max_steps < 1)
        return;
    const vector& in = input_at(map, map->order[map->current]);
    const int winner = nearest_unit(map, in, [](int, double) {});
    const int wc = winner % map->width;
    const int wr = winner / map->width;

    const double m = 1.0 - static_cast<double>(map->step) / map->max_steps;
    const int hw = map->width / 2;
    const int hh = map->height / 2;
    const int ow = static_cast<int>(m * hw);
    const int oh = static_cast<int>(m * hh);
    const double diag = std::sqrt(static_cast<double>(hw * hw + hh * hh));

    for (int c = wc - ow; c < wc + ow; ++c) {
        for (int r = wr - oh; r < wr + oh; ++r) {
            const double dist =
                std::sqrt(static_cast<double>((wc - c) * (wc - c) + (wr - r) * (wr - r)));
            if (!(dist < m * map->height))
                continue;
            double f = 1.0;
            if (map->function == 1)
                f = std::pow(2.67, -square(dist / diag) / (2.0 * m * m));
            else if (map->function == 2 || map->function == 3)
                f = m * (diag - dist) / diag;  // largest at the winner, which moves most
            const double rate = map->learn_rate * f;
            const int unit = map->width * wrap(r, map->height) + wrap(c, map->width);
            const double moved = adaptive_vector_add(rate, &weight_at(map, unit), &in, map->dim);
            if (moved < 0.0 || rate < 0.0)
                vx_fatal(exit_code::sofm_negative_step,
                         "Displ %s,  dScope %s dLernrate %s at step %d\n", vx_fixed(moved).text,
                         vx_fixed(f).text, vx_fixed(rate).text, map->step);
        }
    }
}

void update_display(sofm_params* map)
{
    const int offsets[2] = {1, map->width + 1};
    for (int i = 0; i < map->units; ++i) {
        map->marker[i] = 0;
        double sum = 0.0;
        int n = 0;
        for (int offset : offsets)
            if (is_neighbor(map, i, offset)) {
                sum +=
                    euclidian_distance(&weight_at(map, i), &weight_at(map, i + offset), map->dim);
                ++n;
            }
        map->local_dist[i] = n > 0 ? sum / n : 0.0;
    }
    double lo, hi;
    min_max(map->local_dist, map->units, lo, hi);
    vx_report("Local Neighbor Distances: MinDist %s, MaxDist %s\n", vx_fixed(lo).text,
              vx_fixed(hi).text);
    sofm_draw_markers(map, map->local_dist);
}

void sofm_draw_markers(sofm_params* map, const double* values)
{
    double lo, hi;
    min_max(values, map->units, lo, hi);
    for (int i = 0; i < map->units; ++i) {
        double t = hi > lo ? (values[i] - lo) / (hi - lo) : 0.0;
        // Values that overflowed to infinity or are no number draw as the smallest.
        t = t >= 0.0 ? (t < 1.0 ? t : 1.0) : 0.0;
        map->marker[i] = 255 - static_cast<int>(t * 255.0);
    }
}

void set_marker(sofm_params* map, int unit, int value)
{
    if (unit >= 0 && unit < map->units)
        map->marker[unit] = value;
}

void sofm_step(sofm_params* map)
{
    const int interval = static_cast<int>(map->num_inputs * 0.01);
    training_pass(map, interval > 1 ? interval : 1, true, nullptr, nullptr);
}

void sofm_step_display(sofm_params* map, int display_steps, sofm_display_fn show, void* context)
{
    int interval = display_steps;
    if (interval <= 0) {
        interval = static_cast<int>(map->num_inputs * 0.01);
        interval = interval > 10 ? interval : 10;
    }
    training_pass(map, interval, false, show, context);
}

cluster_map_run::cluster_map_run(sofm_params* map, double* distance_map, int* labels,
                                 sofm_display_fn show, void* context)
    : map_(map),
      distances_(distance_map),
      show_(show),
      context_(context),
      start_(static_cast<long>(std::time(nullptr))),
      report_(map->num_inputs >= 10 ? static_cast<int>(map->num_inputs * 0.1) : 1),
      show_each_(map->num_inputs < 30)
{
    if (distances_ == nullptr) {
        own_distances_.resize(static_cast<size_t>(map->units));
        distances_ = own_distances_.data();
    }
    for (int j = 0; j < map->units; ++j) {
        distances_[j] = -1.0;
        if (labels != nullptr)
            labels[j] = 0;
    }
    vx_report("Locating %d Inputvectors \n", map->num_inputs);
    vx_report("Computation Start at %ld\n", start_);
}

void cluster_map_run::place(int i, int winner) const
{
    if (i % report_ == 0)
        vx_report("Locating Vector %d\n", i);
    const vector& w = weight_at(map_, winner);
    if (w.col < 0 || w.col >= map_->width || w.row < 0 || w.row >= map_->height)
        vx_report("Wrong Grid Pos X:%dY:%d\n", w.col, w.row);
    vector& in = input_at(map_, i);
    in.col = w.col;
    in.row = w.row;
    map_->cluster_center[i] = winner;
    if (show_each_)
        display();
}

void cluster_map_run::display() const
{
    if (show_ == nullptr)
        return;
    sofm_draw_markers(map_, distances_);
    show_(map_, context_);
}

void cluster_map_run::finish() const
{
    display();
    const long stop = static_cast<long>(std::time(nullptr));
    vx_report("Locating Inputvectord stop %ld\n Computation and I/O took %ld second(s)\n", stop,
              stop - start_);
}

void init_cluster_map(sofm_params* map, double* distance_map, int* labels, sofm_display_fn show,
                      void* context)
{
    const cluster_map_run run(map, distance_map, labels, show, context);
    double* distances = run.distances();
    // Label 0 means "no label", so input 0 takes no part.
    for (int i = 1; i < map->num_inputs; ++i) {
        const int best = nearest_unit(map, input_at(map, i), [&](int j, double d) {
            if (distances[j] < 0.0 || d <= distances[j]) {
                distances[j] = d;
                if (labels != nullptr)
                    labels[j] = i;
                weight_at(map, j).unit = i;
            }
        });
        run.place(i, best);
    }
    run.finish();
}

void sofm_run(sofm_params* map, double* distance_map, int* labels)
{
    run(map, 0, false, distance_map, labels, nullptr, nullptr);
}

void sofm_run_display(sofm_params* map, int display_steps, double* distance_map, int* labels,
                      sofm_display_fn show, void* context)
{
    run(map, display_steps, true, distance_map, labels, show, context);
}
