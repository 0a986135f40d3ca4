#include "analyse/trees/polarity_tree.h"

#include "analyse/trees/lRegion_Graph.h"
#include "filter/lMMS_Part.h"

namespace {

constexpr int partition_iterations = 1;
constexpr int tree_connectivity = 8;

region_tree* polarity_tree(vx_image* source, vx_image* work, int mode, int nscales, functions tmpl,
                           unsigned flags, void* context, tree_progress_fn callback,
                           bool progress_variant)
{
    const int partitioned =
        progress_variant ? lMMS_Part_progress(source, work, mode, nscales, partition_iterations,
                                              &tmpl, tree_connectivity, flags, context, callback)
                         : lMMS_Part(source, work, mode, nscales, partition_iterations, &tmpl,
                                     tree_connectivity, flags);
    if (partitioned == 0)
        return nullptr;
    return Region_Graph_progress(work, tree_connectivity, mode, context, callback);
}

}  // namespace

region_tree* build_polarity_tree(vx_image* source, vx_image* work, int mode, int nscales,
                                 functions tmpl, unsigned flags)
{
    return polarity_tree(source, work, mode, nscales, tmpl, flags, nullptr, nullptr, false);
}

region_tree* build_polarity_tree_progress(vx_image* source, vx_image* work, int mode, int nscales,
                                          functions tmpl, unsigned flags, void* context,
                                          tree_progress_fn callback)
{
    return polarity_tree(source, work, mode, nscales, tmpl, flags, context, callback, true);
}
