#pragma once

// Region-tree files: the binary element-set tree "RTHR2" (version 1
// "RTHRG" is read too), its text-header variant and the older verbose text
// tree "RegionTree", with the scanning helpers of the text forms.
//
// Writers write to a temporary name beside the target and rename it into
// place only when every write and the close succeeded
// (imagecore/files/checked_file.h); they return 1, or 0 after a message when
// the tree could not be written completely, the target as it was. A target
// whose temporary file cannot be created ends the process (exit code 42),
// except through try_write_elemset_region_tree.
//
// Loaders check the whole file before they hand out a tree; an ill-formed
// file ends the process with exit code 42, after " RegionTree Tag not found
// presuming <path> not a Tree File" when its magic or first line is wrong
// and after "Tree File <path> refused: <why>" otherwise. The try_ forms
// report an ill-formed file by returning null instead, with `error`
// describing why.

#include <cstdio>

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"

// Binary element-set tree, version 2. Sets every node's file_index to its
// breadth-first number and elemset_offset to the start of its pixel run.
ANALYSE_EXPORT int write_elemset_region_tree(region_tree* tree, const char* path);
// The same for callers that go on after a failure, such as worker threads:
// it never ends the process. *error (when given) receives the errno value
// of a failure (EINVAL for a tree whose pixels are not nested runs), 0 when
// the file is in place.
ANALYSE_EXPORT int try_write_elemset_region_tree(region_tree* tree, const char* path, int* error);
// Reads the magic: "RTHRG" version 1, "RTHR2" version 2.
ANALYSE_EXPORT region_tree* load_elemset_region_tree(const char* path);
// Reads header, element set, the 0x0A byte and the node records after the
// magic, and closes the file.
ANALYSE_EXPORT region_tree* read_elemset_region_tree(FILE* f, int version);
// One version 2 node record; sets file_index := number. Returns 1, or 0 when
// a write failed.
ANALYSE_EXPORT int write_elemset_region_node(tregionnode* node, FILE* f, int number, int nsons);
// One node record read after the header: version 1 derives the border
// flags from the contour. `tree` supplies the image size and element set.
// Null when the record is ill-formed or incomplete.
ANALYSE_EXPORT tregionnode* read_elemset_region_node(FILE* f, region_tree* tree);
ANALYSE_EXPORT tregionnode* read_elemset_region_node_v2(FILE* f, region_tree* tree);

// Lays out the subtree's pixels depth first into `set`: each leaf's pixels,
// and after an inner node's sons the node's pixels that none of them holds,
// so that every node's pixels are one run of `size` entries starting at its
// elemset_offset. `seen` has `capacity` zeros, `set` room for `capacity`
// entries. Returns 0 when the subtree's pixels are not such runs (a pixel
// outside the image, sons outside their father, too many pixels), else 1.
ANALYSE_EXPORT int generate_elemset(tregionnode* node, int* set, int* count, int* seen,
                                    int capacity);

// Text-header variant: a "RegionTree" text header with the element-set size,
// then the element set and version 2 node records as in the binary form.
ANALYSE_EXPORT int write_elemset_region_tree_ascii(region_tree* tree, const char* path);
ANALYSE_EXPORT region_tree* load_elemset_region_tree_ascii(const char* path);
ANALYSE_EXPORT region_tree* read_elemset_region_tree_ascii(FILE* f);
// Node records in text form.
ANALYSE_EXPORT int write_elemset_region_node_ascii(tregionnode* node, FILE* f, int number,
                                                   int nsons);
ANALYSE_EXPORT tregionnode* read_elemset_region_node_ascii(FILE* f, region_tree* tree);

// Old text tree: every node with its pixel positions as text.
ANALYSE_EXPORT int write_region_tree(region_tree* tree, const char* path);
ANALYSE_EXPORT region_tree* load_region_tree(const char* path);
ANALYSE_EXPORT region_tree* read_region_tree(FILE* f);
ANALYSE_EXPORT int write_region_node(tregionnode* node, FILE* f, int number, int nsons);
// One old text node, or null when it is ill-formed.
ANALYSE_EXPORT tregionnode* read_region_node(FILE* f, int width, int height);

// Validating readers behind the loaders; they never end the process. The
// stream is read from its start (magic or first line included) and left open.
ANALYSE_EXPORT region_tree* try_read_elemset_region_tree(FILE* f, const char** error);
ANALYSE_EXPORT region_tree* try_read_elemset_region_tree_ascii(FILE* f, const char** error);
ANALYSE_EXPORT region_tree* try_read_region_tree(FILE* f, const char** error);

// Reads on to the next line "Node: %d" whose number is n; returns n, or -1 at
// the end of the file.
ANALYSE_EXPORT int seek_node_by_number(FILE* f, int n);
// Reads on to the next line "Contour Size: %d"; returns the number or -1.
ANALYSE_EXPORT int seek_contour_size(FILE* f);
// Reads on past the next line "Contour:"; 0, or -1 at the end of the file.
ANALYSE_EXPORT int seek_contour_tag(FILE* f);
// Minimal scanner: literal characters of the format must match the input one
// by one (it stops at the first mismatch, leaving that character unread);
// "%d" reads the characters '0' to ';' and stores the value of their leading
// digits; "%f" reads a number and discards it. Returns the last format
// character handled, 0 when none was.
ANALYSE_EXPORT int vxfscanf(FILE* f, const char* format, int* out);
