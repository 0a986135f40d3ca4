#include "analyse/features/labeled_region_node.h"

#include <cstdlib>

#include "analyse/features/dynamic_region_update.h"
#include "analyse/handles.h"
#include "analyse/trees/contour.h"
#include "analyse/trees/regiontree.h"
#include "imagecore/fatal.h"
#include "imagecore/queue.h"

namespace {

// The one border flag of a region pixel in the contour: the first of top
// row, last column, last row and first column that applies.
int first_border_flag(int position, int width, int height)
{
    const int flags = get_pixel_border_id(position, width, height);
    return flags & -flags;
}

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

// Walks the outer contour of the node's region and takes it from the queue;
// line pixels the walk marked get their 0 back.
void trace_labelled_contour(tregionnode* node, image* labels, int label, iqueue* q)
{
    const int w = labels->width;
    const int start = node->pixels[0];
    int straight = 0;
    int diagonal = 0;
    int contour_size = 0;
    tracer_queued(labels, start / w, start % w, label, &straight, &diagonal, &node->left,
                  &node->right, &node->ahead, &contour_size, 4, q);
    node->contour_size = contour_size;
    node->contour = static_cast<int*>(vx_calloc(static_cast<size_t>(contour_size), sizeof(int),
                                                exit_code::contour_out_of_memory,
                                                "No Memory for outer contour array -> PANIC"));
    for (int k = 0; k < contour_size && iqueue_get(&node->contour[k], q); ++k) {
        const int p = node->contour[k];
        if (labels->pixels[p] == label)
            node->border |= first_border_flag(p, w, labels->height);
        else
            labels->pixels[p] = 0;
    }
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
    trace_labelled_contour(node.get(), labels, label, iqueue_handle(init_iqueue(64)).get());
    if (!init_single_node_attributes(rule_file, node.get(), grey, reference))
        return nullptr;
    return node.release();
}
