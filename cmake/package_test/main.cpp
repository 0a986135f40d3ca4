// Builds the bright region tree of a small image through the libraries of
// the installed package, names it through the GUI library, and prints its
// region count.
#include <cstdio>

#include "analyse/trees/regiontree.h"
#include "analyse/trees/tree_builders.h"
#include "filter/elementary.h"
#include "gui/foundation/vx_base_paths.h"
#include "imagecore/image.h"

int main()
{
    image* grey = create_image(32, 32, 10);
    image* dilated = create_image(32, 32, 0);
    if (grey == nullptr || dilated == nullptr)
        return 1;
    for (int row = 10; row < 22; ++row)
        for (int column = 10; column < 22; ++column)
            grey->pixels[row * grey->width + column] = 200;
    n_dilation_buff(grey, dilated, 8);

    int regions = 0;
    region_tree* tree = compute_tree(dilated, 4, 1, 0);
    if (tree != nullptr) {
        regions = count_regions(tree->root);
        delete_regiontree(tree);
    }
    const QString name = VxBasePaths::FileNamePart("trees/square.tree");
    std::printf("%s: %d regions\n", name.toLatin1().constData(), regions);
    delete_image(dilated);
    delete_image(grey);
    return regions > 1 ? 0 : 1;
}
