#include "automation/sofm/vxsofm.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "automation/sofm/detail/cluster_map.h"
#include "automation/sofm/detail/label_growing.h"
#include "automation/sofm/detail/sofm_training.h"
#include "filter/tree_workers.h"
#include "imagecore/fatal.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

namespace {

constexpr const char* kNoMemory = " Not enough Mem for the SOM\n";
// Marker of the cells around an input in setMarkerForInput.
constexpr int kInputMarker = 1534;

// The training and the cluster map reach the subclass's display through this.
void show(sofm_params*, void* context)
{
    static_cast<vxsofm*>(context)->refresh_display();
}

double next_uniform(void* context)
{
    auto& generator = *static_cast<std::mt19937*>(context);
    return generator() / static_cast<double>(std::mt19937::max());
}

long now()
{
    return static_cast<long>(std::time(nullptr));
}

}  // namespace

void vxsofm::params_deleter::operator()(sofm_params* p) const
{
    // The weight values belong to the map's block.
    for (int i = 0; p->weights != nullptr && i < p->weights->count; ++i)
        p->weights->vectors[i].values = nullptr;
    delete_sofm(p);
}

vxsofm::vxsofm(int width, int height, vector_array* inputs, double learnRate, double learnScope,
               int maxSteps, int function, int normalization)
    : map_(create_sofm_params(width, height, inputs))
{
    if (map_ == nullptr) {
        make_empty();
        return;
    }
    sofm_params* m = map_.get();
    m->learn_rate = learnRate;
    m->learn_scope = learnScope;
    m->max_steps = maxSteps;
    m->function = function;
    m->normalization = normalization;
    adopt_weights();
    vx_report("Initalizing  SOM with ");
    vx_report("2-d Grid: (X) %d * (Y) %d = %d weightvectors\n", width, height, m->units);
    vx_report("Input: %d vectors, dimension %d\n", m->num_inputs, m->dim);
    vx_report("Learning: max %d steps, rate %s, radius %s\n\n", maxSteps, vx_fixed(learnRate).text,
              vx_fixed(learnScope).text);
    minmax_interval();
    normalize_inputs();
    minmax_interval();
    init_weight_vecs();
    update_display();
}

vxsofm::~vxsofm()
{
    vx_report("Deleting Map\n");
}

void vxsofm::make_empty()
{
    map_.reset(static_cast<sofm_params*>(
        vx_calloc(1, sizeof(sofm_params), exit_code::out_of_memory, kNoMemory)));
    cluster_labels_.clear();
    distance_map_.clear();
}

void vxsofm::adopt_weights()
{
    vector_array* weights = map_->weights;
    // The record's weights come zeroed, one allocation per unit; their
    // values move into one block for the passes over the map.
    for (int i = 0; i < weights->count; ++i) {
        std::free(weights->vectors[i].values);
        weights->vectors[i].values = nullptr;
    }
    const size_t dim = static_cast<size_t>(weights->dim);
    block_.assign(static_cast<size_t>(weights->count) * dim, 0.0);
    for (int i = 0; i < weights->count; ++i)
        weights->vectors[i].values = block_.data() + static_cast<size_t>(i) * dim;
}

void vxsofm::normalize_inputs()
{
    if (map_->normalization == 1) {
        vx_report("Euclidean Normalization\n");
        euclidian_normalize_input();
    } else if (map_->normalization == 2) {
        vx_report("Intervall Normalization\n");
        interval_normalize_input();
    } else {
        vx_report("No Normalization\n");
    }
}

bool vxsofm::trainable() const
{
    const sofm_params* m = map_.get();
    if (m->units == 0)
        return false;
    if (m->learn_rate >= 0.0 && std::isfinite(m->learn_rate) && m->step >= 0 && m->max_steps >= 0)
        return true;
    vx_report("SOFM not trained: learn rate %s, step %d of %d\n", vx_fixed(m->learn_rate).text,
              m->step, m->max_steps);
    return false;
}

void vxsofm::ensure_maps()
{
    const size_t units = static_cast<size_t>(map_->units);
    cluster_labels_.resize(units, 0);
    distance_map_.resize(units, 0.0);
}

void vxsofm::sofm_run(int displaySteps)
{
    if (!trainable())
        return;
    sofm_params* m = map_.get();
    const long start = now();
    vx_report("SOFM Computation Start at %ld\n", start);
    stop_asked_ = false;
    while (m->step < m->max_steps && m->num_inputs > 0 && !stop_asked_)
        train_pass(m, block_.data(), displaySteps, show, this, &stop_asked_, get_solo_workers());
    const long stop = now();
    vx_report("Computation stop %ld\n Computation and I/O took %ld second(s)\n", stop,
              stop - start);
    vx_report("Initializing Cluster Map\n");
    init_cluster_map();
}

void vxsofm::sofm_step(int displaySteps)
{
    stop_asked_ = false;
    if (trainable())
        train_pass(map_.get(), block_.data(), displaySteps, show, this, &stop_asked_,
                   get_solo_workers());
}

void vxsofm::sofm_adaptionstep()
{
    ::sofm_adaptionstep(map_.get());
}

void vxsofm::minmax_interval()
{
    ::minmax_interval(map_.get());
}

void vxsofm::euclidian_normalize_input()
{
    ::euclidian_normalize_input(map_.get());
}

void vxsofm::interval_normalize_input()
{
    ::interval_normalize_input(map_.get());
}

void vxsofm::init_weight_vecs()
{
    ::init_weight_vecs_from(map_.get(), next_uniform, &random_);
}

void vxsofm::setseed(long a, long b)
{
    const auto ua = static_cast<uint64_t>(a);
    const auto ub = static_cast<uint64_t>(b);
    std::seed_seq seeds{static_cast<uint32_t>(ua), static_cast<uint32_t>(ua >> 32),
                        static_cast<uint32_t>(ub), static_cast<uint32_t>(ub >> 32)};
    random_.seed(seeds);
}

void vxsofm::update_display()
{
    draw_local_distances(map_.get(), block_.data(), get_solo_workers());
}

void vxsofm::init_cluster_map()
{
    ensure_maps();
    locate_inputs(map_.get(), block_.data(), distance_map_.data(), cluster_labels_.data(), show,
                  this, get_solo_workers());
}

void vxsofm::initClusterLabelMap()
{
    sofm_params* m = map_.get();
    ensure_maps();
    const long start = now();
    vx_report("Computation Start at %ld\n", start);
    vx_report("Initializing Maps\n");
    vx_report("Initializing %d Cluster Centers \n", m->num_inputs);

    grow_cluster_labels(m, block_.data(), cluster_labels_.data(), distance_map_.data(),
                        get_solo_workers());
    double lo = 0.0;
    double hi = 0.0;
    if (!distance_map_.empty()) {
        const auto range = std::minmax_element(distance_map_.begin(), distance_map_.end());
        lo = *range.first;
        hi = *range.second;
    }
    vx_report("ClusterLabel Distances: MinDist %s, MaxDist %s\n", vx_fixed(lo).text,
              vx_fixed(hi).text);
    const long stop = now();
    vx_report("Initializing ClusterCenters stop %ld\n Computation and I/O took %ld second(s)\n",
              stop, stop - start);
}

void vxsofm::displayClusterLabelMap()
{
    sofm_params* m = map_.get();
    for (int i = 0; i < m->units; ++i)
        m->marker[i] =
            (cluster_labels_.empty() ? 0 : cluster_labels_[static_cast<size_t>(i)]) + label_offset;
    refresh_display();
}

void vxsofm::displayLocalDistanceMap()
{
    sofm_draw_markers(map_.get(), map_->local_dist);
    refresh_display();
}

void vxsofm::displayDistanceMap()
{
    if (!distance_map_.empty())
        sofm_draw_markers(map_.get(), distance_map_.data());
    refresh_display();
}

void vxsofm::setMarkerForInput()
{
    sofm_params* m = map_.get();
    for (int i = 1; i < m->num_inputs; ++i) {
        const vector& in = m->inputs->vectors[i];
        if (in.row < 0 || in.row >= m->height || in.col < 0 || in.col >= m->width)
            continue;
        for (int row = in.row - 1; row <= in.row + 1; ++row)
            for (int col = in.col - 1; col <= in.col + 1; ++col)
                if (row >= 0 && row < m->height && col >= 0 && col < m->width)
                    m->marker[row * m->width + col] = kInputMarker;
    }
    refresh_display();
}

bool vxsofm::isNeighbor(int unit, int offset) const
{
    const sofm_params* m = map_.get();
    const long other = static_cast<long>(unit) + offset;
    if (unit < 0 || unit >= m->units || other < 0 || other >= m->units)
        return false;
    const long dc = other % m->width - unit % m->width;
    return dc >= -1 && dc <= 1;
}

void vxsofm::set_marker(int unit, int value)
{
    ::set_marker(map_.get(), unit, value);
}

int vxsofm::width() const
{
    return map_->width;
}

int vxsofm::height() const
{
    return map_->height;
}

sofm_params* vxsofm::sofm()
{
    return map_.get();
}
