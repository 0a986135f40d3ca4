#pragma once

// The region graph: a multiscale partition becomes a region tree, refined
// scale by scale from the coarsest partition to the finest.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "filter/functions.h"
#include "filter/progress.h"
#include "imagecore/vx_image.h"

// One tree computation handed to a worker thread.
struct tree_job {
    int scales;
    vx_image* source;    // grey image in scale 0
    vx_image* work;      // partition with `scales` scales, relabelled by the graph
    functions tmpl;      // template description; the repositories pass unit_disk_template
    int mode;            // 1 bright objects, 2 dark objects
    unsigned int flags;  // generation flags of the partition
    const char* file_name;
    region_tree* result;  // the built tree, owned by the job's creator
    void* context;
    tree_progress_fn progress;
    // Set by generateTreeFile: why the built tree's file is not in place,
    // empty when it is or when the partition could not be computed.
    char failure[128];
    // Set by generateTreeFile: 1 when memory ran out (no tree, no file), else 0.
    int out_of_memory;
};

// Builds the tree of the partition (relabelled in place) and numbers its
// nodes in depth-first pre-order from 0.
ANALYSE_EXPORT region_tree* Region_Graph(vx_image* partition, int conn);
// The same; after each scale, when context and callback are given, calls
// callback(11 for mode 1 or 12 for mode 2, scales done - 1, context). Other
// modes report nothing.
ANALYSE_EXPORT region_tree* Region_Graph_progress(vx_image* partition, int conn, int mode,
                                                  void* context, tree_progress_fn callback);

// Builds the tree like Region_Graph, writes it as an old text tree and
// frees it. Returns 1, or 0 when the file could not be written completely.
ANALYSE_EXPORT int lRegion_Graph(vx_image* partition, const char* file_name, int conn);

// Thread start routine of a tree job (argument: tree_job*): builds the tree
// of the source (build_polarity_tree_progress), stores it in `result` and
// writes it as an element-set tree file. Returns null. When the partition
// cannot be computed, `result` stays null and no file is written, with a
// message; when the file cannot be written, the target stays as it was and
// `failure` tells why. Memory that runs out (std::bad_alloc, or any
// exhaustion within an out_of_memory_recovery, imagecore/fatal.h) leaves no
// tree and no file either, `failure` the system's words for it and
// `out_of_memory` 1; other exhaustion ends the process with its code.
ANALYSE_EXPORT void* generateTreeFile(void* job);

// Step-wise construction: one partition scale per step.
struct rg_control {
    vx_image* partition;
    int conn;
    int next_scale;  // -1 when every scale has been added
    int scales;
    region_tree* tree;
};

ANALYSE_EXPORT rg_control* region_graph_control(vx_image* partition, int conn);
// Adds the next scale, if any; returns the new next scale (-1 when done).
ANALYSE_EXPORT int region_graph_step(rg_control* control);
// Frees the record and the tree it still holds; a caller that keeps the tree
// takes it first and sets `tree` to null.
ANALYSE_EXPORT void delete_region_graph_control(rg_control* control);
