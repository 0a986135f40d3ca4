#pragma once

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"

// The base attributes every region carries, in the fixed order of its
// attribute vector. The rule scanner knows these names as keywords and the
// rule machine loads the values, in this order, into its registers.
struct base_attribute {
    const char* name;  // null in the row that closes the table
    int type;          // ATTRIB_INT or ATTRIB_DOUBLE
};

// NUM_BASE_ATTRIBUTES rows, then a row whose name is null.
extern ANALYSE_EXPORT const base_attribute pbaBaseAttributes[NUM_BASE_ATTRIBUTES + 1];

// Base attribute `index` of the region, read from the field it stands for;
// 0.0 for an index outside 0 .. NUM_BASE_ATTRIBUTES - 1.
ANALYSE_EXPORT double get_base_attribute(const tregionnode* region, int index);
