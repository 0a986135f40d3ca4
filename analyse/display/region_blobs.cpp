#include "analyse/display/region_blobs.h"

#include <vector>

#include "analyse/detail/position_walk.h"
#include "analyse/detail/trunc_int.h"
#include "imagecore/array_utils.h"
#include "imagecore/draw.h"
#include "imagecore/queue.h"

void va_draw_blobs(image* dst, region_tree* tree, tregionnode** active)
{
    std::vector<double> sizes;
    std::vector<int> labels;
    for (int i = 0; i < tree->regions; ++i)
        if (active[i] != nullptr) {
            sizes.push_back(active[i]->size);
            labels.push_back(i);
        }
    const int k = static_cast<int>(sizes.size());
    msort(sizes.data(), labels.data(), k);
    erase_image(dst, 0);
    iqueue* queue = init_iqueue(image_pixel_count(dst));
    for (int j = k - 1; j >= 0; --j) {
        const tregionnode* node = active[labels[j]];
        draw_ellipse(dst, j + 1, node->size, trunc_to_int(node->centroidX),
                     trunc_to_int(node->centroidY), node->paxis, node->aaxis, node->orientation,
                     queue);
    }
    delete_iqueue(queue);
}
