#pragma once

#include "analyse/trees/region_types.h"

// Replaces the tree's node array by one of regions + 1 entries in which every
// node below the root is entered at its file index and takes that index as
// its label; the root is not entered.
void rebuild_label_node_array(region_tree* tree);
