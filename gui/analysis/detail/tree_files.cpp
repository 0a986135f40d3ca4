#include "gui/analysis/detail/tree_files.h"

#include <QFile>

#include "analyse/files/treeio.h"
#include "analyse/trees/tree_walk.h"
#include "gui/foundation/vx_message_popup.h"

vx_kept_labels::vx_kept_labels(region_tree* tree)
{
    walk_preorder(tree->root,
                  [this](tregionnode* node) { labels.emplace_back(node, node->label); });
}

void vx_kept_labels::restore() const
{
    for (const auto& [node, label] : labels)
        node->file_index = node->label = label;
}

bool vx_write_tree_file(region_tree* tree, const QString& file)
{
    if (tree == nullptr) {
        vx_message(QStringLiteral("!!Write Error!!"), "No tree to save in\n" + file);
        return false;
    }
    const vx_kept_labels labels(tree);
    const bool written =
        try_write_elemset_region_tree(tree, QFile::encodeName(file).constData(), nullptr) == 1;
    labels.restore();
    if (!written)
        vx_write_error(file);
    return written;
}
