#pragma once

// Writing an analysis' trees without disturbing it. The tree writers number
// the nodes by their file order, while the selection, the node arrays and
// the rules of a running analysis go by the labels it has.

#include <QString>
#include <utility>
#include <vector>

struct region_tree;
struct tregionnode;

// The label of every node of a tree, to be given back after a writer.
class vx_kept_labels {
public:
    explicit vx_kept_labels(region_tree* tree);
    // Every node's label and file index := its label at construction.
    void restore() const;

private:
    std::vector<std::pair<tregionnode*, int>> labels;
};

// Writes the element-set tree file, keeping the tree's labels. A null tree
// or a file that cannot be written shows the "!!Write Error!!" pop-up, the
// file as it was. Returns whether the file was written.
bool vx_write_tree_file(region_tree* tree, const QString& file);
