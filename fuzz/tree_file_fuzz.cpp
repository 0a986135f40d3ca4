// Feeds arbitrary bytes to every region-tree reader: the element-set tree
// (both versions), its text-header variant and the old text tree.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "analyse/files/treeio.h"
#include "analyse/trees/regiontree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::vector<char> bytes(data, data + size);
    using try_fn = region_tree* (*)(FILE*, const char**);
    for (try_fn read :
         {try_read_elemset_region_tree, try_read_elemset_region_tree_ascii, try_read_region_tree}) {
        FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
        if (f == nullptr)
            return 0;
        const char* error = nullptr;
        region_tree* tree = read(f, &error);
        std::fclose(f);
        if (tree != nullptr) {
            // An accepted tree must be whole: walk it as its users do.
            rtInitNodelist(tree);
            delete_regiontree(tree);
        }
    }
    return 0;
}
