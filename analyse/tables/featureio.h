#pragma once

// Tables of a tree's regions with their attribute vectors: the comma
// separated tree table and the C4.5 ".names"/".data" pair of a classified
// tree. The id of a region is its file index. Every writer returns 1, or 0
// after a message when the file cannot be opened or a write fails; a file
// that a writer creates replaces an older one only when it is complete
// (imagecore/files/checked_file.h).

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"
#include "imagecore/vx_image.h"

class checked_file;

// Creates the file with the header "Imagename, RegionID, " and the names of
// the tree's template attribute vector joined by ", ".
ANALYSE_EXPORT int fio_writeTreeTableHeader(const char* file, region_tree* tree);
// Appends "image, id, " and the attribute values joined by ", " for every
// non-null entry of the `count` nodes.
ANALYSE_EXPORT int fio_writeTreeTableByNodeArray(const char* file, const char* image_name,
                                                 tregionnode** nodes, int count);
// The header and the rows written into a file being written, for a table
// made of several pieces that replaces an older one only when complete.
// False once a write to the file failed.
ANALYSE_EXPORT bool fio_writeTreeTableHeader(checked_file& out, region_tree* tree);
ANALYSE_EXPORT bool fio_writeTreeTableByNodeArray(checked_file& out, const char* image_name,
                                                  tregionnode** nodes, int count);
// The same for the tree's node array (regions entries).
ANALYSE_EXPORT int fio_writeTreeTableByNodelist(const char* file, const char* image_name,
                                                region_tree* tree);
// Computes the tree's attributes from scale 0 of the image with the update
// rule and the polarity as volume reference, then writes header and rows;
// 0 and no file when the attributes cannot be computed (no scale 0).
ANALYSE_EXPORT int fio_writeEntireTreeTable(const char* file, region_tree* tree, vx_image* grey,
                                            const char* update_rule, const char* image_name,
                                            int polarity);
// Rebuilds the tree's node array by file index, then writes header and rows.
ANALYSE_EXPORT int fio_writeEntireTreeTable_csv(const char* file, const char* image_name,
                                                region_tree* tree);

// "base.names": the class list, then "name: continuous." for each selected
// int or double attribute of the tree's template vector. "base.data": per
// non-null node of the `count` nodes its selected values joined by ",", then
// "," and the node's label text.
ANALYSE_EXPORT int writeClassifiedTreeC4_5(const char* base, region_tree* tree, tregionnode** nodes,
                                           char** labels, int count, const int* selected,
                                           int nselected, const char* classes);

// Creates (or empties) the file.
ANALYSE_EXPORT int write_regionnode_list_table(const char* file);
