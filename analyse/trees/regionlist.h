#pragma once

// Region lists: linked lists (imagecore/list.h) whose entries are node
// pointers. Son lists of the region tree are region lists.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/list.h"

// New list holding the node.
ANALYSE_EXPORT list* init_region_list(tregionnode* node);
// Appends the node.
ANALYSE_EXPORT void add_region_list(list* l, tregionnode* node);
// New list element holding the node.
ANALYSE_EXPORT list_elem* init_region_list_node(tregionnode* node);
// Puts the cursor before the first node.
ANALYSE_EXPORT void reset_region_list(list* l);
// Advances the cursor and returns its node, or null at the end.
ANALYSE_EXPORT tregionnode* get_next_list_region(list* l);
// The element holding the node (the cursor moves there), or null.
ANALYSE_EXPORT list_elem* find_region_in_list(list* l, tregionnode* node);
// Removes the node's element; returns the list, or null when it became empty
// (the list is then freed).
ANALYSE_EXPORT list* remove_region_from_list(list* l, tregionnode* node);
