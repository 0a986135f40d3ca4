#pragma once

// The attribute texts of one region that the analysis windows show. The
// returned texts are new zero-terminated heap texts; the caller frees them
// with free().

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"

// With an attribute vector: the file index and label, then one line per
// attribute ("name: value"). Without one: the node's fixed fields, one per
// line.
ANALYSE_EXPORT char* va_fixed_attribute_output(tregionnode* node);
// The quotients, birth, age, entropy, significance and moments of the node.
ANALYSE_EXPORT char* va_attribute_output(tregionnode* node);
// Prints the quotients, birth, age, decomposition entropy and significance
// on standard output.
ANALYSE_EXPORT void attribute_output(tregionnode* node);
