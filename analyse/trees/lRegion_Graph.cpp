#include "analyse/trees/lRegion_Graph.h"

#include <cstdlib>
#include <ctime>

#include "analyse/files/treeio.h"
#include "analyse/trees/regiontree.h"
#include "filter/lMMS_Part.h"
#include "imagecore/fatal.h"
#include "imagecore/queue.h"
#include "imagecore/report.h"

namespace {

void add_partition_scale(vx_image* partition, region_tree* tree, int scale, int conn, iqueue* q)
{
    vx_report("Processing scale %d\n", scale);
    image* img = &partition->scales[scale];
    img->label_queue = q;
    regiontree_add_scale(img, tree, scale, conn);
    img->label_queue = nullptr;
    reset_iqueue(q);
}

int progress_kind(int mode)
{
    return mode == 1 ? 11 : mode == 2 ? 12 : 0;
}

}  // namespace

region_tree* Region_Graph_progress(vx_image* partition, int conn, int mode, void* context,
                                   tree_progress_fn callback)
{
    iqueue* q = init_iqueue(partition->width * partition->height);
    region_tree* tree = init_region_tree(partition->width, partition->height, partition->nscales);
    const int kind = progress_kind(mode);
    int step = 0;
    for (int s = partition->nscales - 1; s >= 0; --s) {
        add_partition_scale(partition, tree, s, conn, q);
        if (context != nullptr && callback != nullptr && kind != 0)
            callback(kind, step, context);
        ++step;
    }
    delete_iqueue(q);
    int counter = 0;
    tree_relabel(tree->root, &counter);
    return tree;
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
    const std::time_t t0 = std::time(nullptr);
    lMMS_Part_progress(job->source, job->work, job->mode, job->scales, 1, &job->tmpl, 8, job->flags,
                       job->context, job->progress);
    job->result = Region_Graph_progress(job->work, 8, job->mode, job->context, job->progress);
    vx_report("Writing File:%s \n", job->file_name);
    if (write_elemset_region_tree(job->result, job->file_name) != 1)
        vx_fatal(exit_code::tree_file_unwritable, "Tree file %s not written\n", job->file_name);
    vx_report("Creation of %s, %d Scales, in %d Seconds\n", job->file_name, job->scales,
              static_cast<int>(std::time(nullptr) - t0));
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
    iqueue* q = init_iqueue(control->partition->width * control->partition->height);
    add_partition_scale(control->partition, control->tree, control->next_scale, control->conn, q);
    delete_iqueue(q);
    return --control->next_scale;
}

void delete_region_graph_control(rg_control* control)
{
    if (control == nullptr)
        return;
    delete_regiontree(control->tree);
    std::free(control);
}
