#include "analyse/trees/detail/label_node_array.h"

#include <algorithm>
#include <cstdlib>

#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/fatal.h"

void rebuild_label_node_array(region_tree* tree)
{
    std::free(tree->nodes);
    const int entries = std::max(tree->regions, 0) + 1;
    tree->nodes = static_cast<tregionnode**>(
        vx_calloc(static_cast<size_t>(entries), sizeof(tregionnode*),
                  exit_code::region_tree_out_of_memory, "Cannot alloc node array -> PANIC"));
    for (tregionnode* son : sons_of(tree->root))
        rt_local_init_nodelist(tree->nodes, entries, son);
}
