#pragma once

// Older C4.5 feature files of a tree: a selectable ("dynamic") feature
// vector drawn from the attribute vectors, and a fixed vector of the node
// fields. A selection holds one flag per entry of the template attribute
// vector, 1 = selected. Doubles that do not print as numbers ("nan", "inf")
// are written as "?". Every writer returns 1, or 0 when the file cannot be
// opened or a write fails (files it creates report that with a message).

#include <cstdio>

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"

// "base.names": comment lines, the class numbers 0 .. nclasses - 1, then per
// selected attribute of the node's vector its name and "continuous" or
// "string".
ANALYSE_EXPORT int write_dynamic_feature_names(const char* base, int nclasses, const int* selection,
                                               tregionnode* node);
// One row: each selected value followed by ",", the label when given, ".".
ANALYSE_EXPORT int write_dynamic_feature_vector(FILE* file, tregionnode* node, const int* selection,
                                                const char* label);
// Rows of the node and its descendants in pre-order, each labelled with its
// class in decimal.
ANALYSE_EXPORT int write_dynamic_classified_subtree(FILE* file, tregionnode* node,
                                                    const int* selection);
// The names file and "base.data" from the sons of the root, with the tree's
// attribute selection.
ANALYSE_EXPORT int write_dynamic_classified_tree(const char* base, int nclasses, region_tree* tree);
// Unlabelled rows of the node and its descendants in pre-order.
ANALYSE_EXPORT int write_dynamic_subtree_table(FILE* file, tregionnode* node, const int* selection);
// "base.table": the number of selected attributes and the region count, then
// one unlabelled row per node, with the tree's attribute selection.
ANALYSE_EXPORT int write_dynamic_tree_table(const char* base, region_tree* tree);

// "base.names" of the fixed vector: comment lines, class numbers, and the 25
// attribute lines.
ANALYSE_EXPORT int write_feature_names(const char* base, int nclasses);
// One fixed row: the 25 node fields, the label when given, ".".
ANALYSE_EXPORT int write_feature_vector(FILE* file, tregionnode* node, const char* label);
// Fixed rows of the node and its descendants in pre-order, labelled with
// their class; a node with a positive class is announced on standard output.
ANALYSE_EXPORT int write_classified_subtree(FILE* file, tregionnode* node);
// "base.data" from the sons of the root.
ANALYSE_EXPORT int write_classified_tree(const char* base, region_tree* tree);
