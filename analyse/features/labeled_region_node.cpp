#include "analyse/features/labeled_region_node.h"

#include <cstdlib>

#include "analyse/features/dynamic_region_update.h"
#include "analyse/handles.h"
#include "analyse/trees/detail/traced_region_node.h"
#include "analyse/trees/regiontree.h"
#include "imagecore/fatal.h"

namespace {

// The pixels of `labels` holding the label, in raster order; null for none.
int* labelled_pixels(const image* labels, int label, int* count)
{
    const int n = labels->width * labels->height;
    *count = 0;
    for (int p = 0; p < n; ++p)
        *count += labels->pixels[p] == label;
    if (*count == 0)
        return nullptr;
    auto* pixels = static_cast<int*>(vx_calloc(static_cast<size_t>(*count), sizeof(int),
                                               exit_code::region_tree_out_of_memory,
                                               "Cannot alloc Memory for new Area -> PANIC"));
    int k = 0;
    for (int p = 0; p < n; ++p)
        if (labels->pixels[p] == label)
            pixels[k++] = p;
    return pixels;
}

}  // namespace

tregionnode* computeNodeFromLabeledRegion(const char* rule_file, image* labels, image* grey,
                                          int label, int reference)
{
    // 0 is the background, and negative values are the tracer's own marks.
    if (label < 1)
        return nullptr;
    int size = 0;
    int* pixels = labelled_pixels(labels, label, &size);
    if (pixels == nullptr)
        return nullptr;
    region_node_handle node(init_region_node(nullptr, 0, size, pixels, nullptr));
    node->label = node->file_index = label;
    // Traced as the tree builder traces its regions, so that the same pixels
    // get the same contours, turn counts, border flags and widths as there.
    const int connect = labels->connect;
    labels->connect = 8;
    trace_region_node(node.get(), labels, 0);
    labels->connect = connect;
    if (!init_single_node_attributes(rule_file, node.get(), grey, reference))
        return nullptr;
    return node.release();
}
