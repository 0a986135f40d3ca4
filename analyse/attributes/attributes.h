#pragma once

// Attribute vectors of regions: construction from a region's fields and an
// update rule's symbols, lookup by name and index, copies and release.
// Vectors are malloc'ed records freed by delete_attrib_array.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"

struct program;

// Longest attribute name an entry holds; longer names (rule symbols may have
// up to 51 characters) are cut to this length when stored and looked up.
inline constexpr int ATTRIB_NAME_MAX = static_cast<int>(sizeof(attrib_entry::name)) - 1;

// A new vector of NUM_BASE_ATTRIBUTES + the program's symbol count entries
// (a null program has none), stored in the region's `attribs` (a vector it
// had is replaced, not freed), filled with the base attributes and then one
// double per symbol. Returns the vector.
ANALYSE_EXPORT attrib_array* init_attrib_array(tregionnode* region, const program* prog);
// Entries 0 .. NUM_BASE_ATTRIBUTES - 1 from the region's fields.
ANALYSE_EXPORT void init_base_attribs(const tregionnode* region, attrib_array* vector);
// One double entry per symbol of the program, in declaration order, named
// like the symbol and holding its current value.
ANALYSE_EXPORT void copy_symbols_2_attribs(attrib_array* vector, const program* prog);

// Entry `index` becomes base attribute `index` with the given value; an
// index outside the base table or the vector is reported and ignored.
ANALYSE_EXPORT void init_int_base_attrib(int value, int index, attrib_array* vector);
ANALYSE_EXPORT void init_double_base_attrib(double value, int index, attrib_array* vector);

// Adds an entry at position `count` unless one of that name exists already;
// a full vector is reported and left unchanged.
ANALYSE_EXPORT void init_int_attrib(int value, const char* name, attrib_array* vector);
ANALYSE_EXPORT void init_double_attrib(double value, const char* name, attrib_array* vector);
ANALYSE_EXPORT void init_string_attrib(const char* value, const char* name, attrib_array* vector);

// Index of the first of the `count` filled entries with that name, else -1.
ANALYSE_EXPORT int check_attrib_exist(const attrib_array* vector, const char* name);
// Index of the first of the `capacity` entries with that name, else -1.
ANALYSE_EXPORT int get_attrib_index(const attrib_array* vector, const char* name);

ANALYSE_EXPORT attrib_array* create_copy_attrib_array(const attrib_array* vector);
// Frees entries and vector; accepts null.
ANALYSE_EXPORT void delete_attrib_array(attrib_array* vector);

// Capacity of the region's vector, 0 without one.
ANALYSE_EXPORT int get_num_attribs(const tregionnode* region);
// The vector of the root's first son: the template of the tree's attribute
// names and types. Null when the root has no sons.
ANALYSE_EXPORT attrib_array* get_root_attrib_vector(const region_tree* tree);
// Name of entry `index` of the template vector; null without a template or
// for an index outside it.
ANALYSE_EXPORT const char* get_attrib_name(const region_tree* tree, int index);
// A new array of `capacity` heap copies of the names of the region's vector;
// null and count 0 for a null region or one without a vector.
ANALYSE_EXPORT char** get_attribs_from_node(const tregionnode* region, int* count);
// Frees each name and the array; accepts null.
ANALYSE_EXPORT void delete_attribute_names(char** names, int count);

// Class 0 (none) for the region and all its descendants.
ANALYSE_EXPORT void declassify_tree(tregionnode* region);
