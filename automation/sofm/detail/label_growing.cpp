#include "automation/sofm/detail/label_growing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "automation/sofm/detail/sofm_kernels.h"
#include "automation/sofm/detail/step_team.h"
#include "imagecore/handles.h"
#include "imagecore/queue.h"
#include "imagecore/report.h"

namespace {

// Queue entries that one thread takes at a time.
constexpr int kGrowEntries = 256;

}  // namespace

void grow_cluster_labels(sofm_params* map, const double* block, int* labels, double* distances,
                         int workers)
{
    for (int j = 0; j < map->units; ++j) {
        labels[j] = 0;
        distances[j] = 0.0;
    }
    // Label 0 means "no label", so input 0 seeds nothing.
    const iqueue_handle queue(init_iqueue(std::max(map->units, 1)));
    for (int i = 1; i < map->num_inputs; ++i) {
        const int centre = map->cluster_center[i];
        if (labels[centre] == 0) {
            labels[centre] = i;
            iqueue_put_grow(centre, queue.get());
        }
    }
    vx_report("Starting Update\n");
    const int w = map->width;
    const int dim = map->dim;
    const int offsets[8] = {-w, 1, w, -1, 1 - w, w + 1, w - 1, -w - 1};
    const auto on_map = [&](int unit, int offset) {
        const int other = unit + offset;
        if (other < 0 || other >= map->units)
            return false;
        const int dc = other % w - unit % w;
        return dc >= -1 && dc <= 1;
    };
    const auto measure = [&](int unit, int label) {
        return std::sqrt(squared_distance(unit_weights(block, unit, dim),
                                          unit_weights(block, map->cluster_center[label], dim),
                                          dim));
    };

    std::vector<int> generation;
    std::vector<int> measured_label;  // per entry: the label its distances are to
    std::vector<double> measured;     // per entry: 8 distances, one per offset
    step_team::with_team(workers, [&](step_team& team) {
        while (!iqueue_empty(queue.get())) {
            generation.resize(static_cast<size_t>(queue->count));
            for (int& unit : generation)
                iqueue_get(&unit, queue.get());
            const int entries = static_cast<int>(generation.size());
            measured_label.resize(generation.size());
            measured.resize(generation.size() * 8);
            team.run_tasks((entries + kGrowEntries - 1) / kGrowEntries, [&](int part) {
                const int end = std::min(entries, (part + 1) * kGrowEntries);
                for (int e = part * kGrowEntries; e < end; ++e) {
                    const int unit = generation[static_cast<size_t>(e)];
                    const int label = labels[unit];
                    measured_label[static_cast<size_t>(e)] = label;
                    for (int k = 0; k < 8; ++k)
                        if (on_map(unit, offsets[k]))
                            measured[static_cast<size_t>(e * 8 + k)] =
                                measure(unit + offsets[k], label);
                }
            });
            // An entry relabelled earlier in its generation grows its new label.
            for (int e = 0; e < entries; ++e) {
                const int unit = generation[static_cast<size_t>(e)];
                const int label = labels[unit];
                const bool fresh = label == measured_label[static_cast<size_t>(e)];
                const double reached = distances[unit];
                for (int k = 0; k < 8; ++k) {
                    if (!on_map(unit, offsets[k]))
                        continue;
                    const int next = unit + offsets[k];
                    const int other = labels[next];
                    if (other == label)
                        continue;
                    const double x =
                        fresh ? measured[static_cast<size_t>(e * 8 + k)] : measure(next, label);
                    // A labelled unit changes only to a strictly nearer centre, so
                    // that two centres at equal distance cannot take it in turns.
                    const bool take = other == 0 ? x >= reached : x < distances[next];
                    if (take) {
                        labels[next] = label;
                        distances[next] = x;
                        iqueue_put_grow(next, queue.get());
                    }
                }
            }
        }
    });
}
