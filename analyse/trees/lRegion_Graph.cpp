#include "analyse/trees/lRegion_Graph.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/handles.h"
#include "analyse/trees/detail/scale_refinement.h"
#include "analyse/trees/polarity_tree.h"
#include "analyse/trees/regiontree.h"
#include "filter/tree_workers.h"
#include "imagecore/fatal.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"

namespace {

void add_partition_scale(vx_image* partition, region_tree* tree, int scale, int conn)
{
    vx_report("Processing scale %d\n", scale);
    regiontree_add_scale(&partition->scales[scale], tree, scale, conn);
}

int progress_kind(int mode)
{
    return mode == 1 ? 11 : mode == 2 ? 12 : 0;
}

// generateTreeFile up to exhausted memory.
void build_and_write_tree(tree_job& job)
{
    const std::time_t t0 = std::time(nullptr);
    job.result = build_polarity_tree_progress(job.source, job.work, job.mode, job.scales, job.tmpl,
                                              job.flags, job.context, job.progress);
    if (job.result == nullptr) {
        vx_report("Could not compute the tree %s: no file written\n", job.file_name);
        return;
    }
    vx_report("Writing File:%s \n", job.file_name);
    int error = 0;
    if (try_write_elemset_region_tree(job.result, job.file_name, &error) != 1) {
        std::snprintf(job.failure, sizeof job.failure, "%s",
                      checked_file::reason_of(error).c_str());
        vx_report("Tree file %s not written\n", job.file_name);
        return;
    }
    vx_report("Creation of %s, %d Scales, in %d Seconds\n", job.file_name, job.scales,
              static_cast<int>(std::time(nullptr) - t0));
}

}  // namespace

// The scales are labelled each on its own, the leaves updated from the
// coarsest scale to the finest, and then the sons each scale made are traced
// in that scale's label image, the scales at once; a scale counts as done
// when its sons are traced.
region_tree* Region_Graph_progress(vx_image* partition, int conn, int mode, void* context,
                                   tree_progress_fn callback)
{
    region_tree_handle tree(
        init_region_tree(partition->width, partition->height, partition->nscales));
    const int nscales = partition->nscales;
    const int workers = get_tree_workers();
    std::vector<labelled_scale> labelled(static_cast<size_t>(std::max(nscales, 0)));
    run_tree_tasks(nscales, workers, [&](int s) {
        labelled[static_cast<size_t>(s)] = label_partition_scale(&partition->scales[s], conn);
    });
    std::vector<scale_sons> sons(labelled.size());
    for (int s = nscales - 1; s >= 0; --s) {
        vx_report("Processing scale %d\n", s);
        refine_tree_by_scale(labelled[static_cast<size_t>(s)], tree.get(), s, workers,
                             sons[static_cast<size_t>(s)]);
    }
    const int kind = progress_kind(mode);
    run_tree_tasks_in_order(
        nscales, workers,
        [&](int step, int) { trace_scale_sons(sons[static_cast<size_t>(nscales - 1 - step)]); },
        [&](int step) {
            if (context != nullptr && callback != nullptr && kind != 0)
                callback(kind, step, context);
        });
    int counter = 0;
    tree_relabel(tree->root, &counter);
    return tree.release();
}

region_tree* Region_Graph(vx_image* partition, int conn)
{
    return Region_Graph_progress(partition, conn, 0, nullptr, nullptr);
}

int lRegion_Graph(vx_image* partition, const char* file_name, int conn)
{
    region_tree* tree = Region_Graph(partition, conn);
    const int written = write_region_tree(tree, file_name);
    delete_regiontree(tree);
    return written;
}

void* generateTreeFile(void* arg)
{
    auto* job = static_cast<tree_job*>(arg);
    job->failure[0] = '\0';
    job->out_of_memory = 0;
    try {
        build_and_write_tree(*job);
    } catch (const std::bad_alloc&) {
        // Also when the write ran out: the tree goes with the file.
        delete_regiontree(job->result);
        job->result = nullptr;
        job->out_of_memory = 1;
        std::snprintf(job->failure, sizeof job->failure, "%s",
                      checked_file::reason_of(ENOMEM).c_str());
        vx_report("Could not compute the tree %s: %s, no file written\n", job->file_name,
                  job->failure);
    }
    return nullptr;
}

rg_control* region_graph_control(vx_image* partition, int conn)
{
    auto* control = static_cast<rg_control*>(vx_calloc(1, sizeof(rg_control),
                                                       exit_code::region_tree_out_of_memory,
                                                       "Cannot alloc region tree -> PANIC"));
    control->partition = partition;
    control->conn = conn;
    control->scales = partition->nscales;
    control->next_scale = partition->nscales - 1;
    control->tree = init_region_tree(partition->width, partition->height, partition->nscales);
    return control;
}

int region_graph_step(rg_control* control)
{
    if (control->next_scale < 0 || control->tree == nullptr)
        return control->next_scale;
    add_partition_scale(control->partition, control->tree, control->next_scale, control->conn);
    return --control->next_scale;
}

void delete_region_graph_control(rg_control* control)
{
    if (control == nullptr)
        return;
    delete_regiontree(control->tree);
    std::free(control);
}
