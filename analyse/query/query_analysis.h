#pragma once

// Queries: one rule file applied to one region tree. The top-down rule is
// tried from the root's sons downwards; a top-down hit takes its subtree out
// of top-down testing and makes it bottom-up candidates, tested from the
// leaves upwards. Hits get `significance` 1.0 and `td_mark` / `bu_mark` 3
// (a top-down hit's `td_mark` ends as 2 again when its subtree is excluded,
// so `significance` is what tells hits apart). Also the marking and
// selection operations on a tree's mark and `selection` fields.

#include "analyse/analyse_export.h"
#include "analyse/trees/region_types.h"

struct image;
struct program;
struct vm;
struct dual_analyse;

// Resets every region's marks (td_mark 1, bu_mark 2, significance 0), parses
// the rule file for the tree's width and runs the query. Returns the hit
// count; 0 when the file does not parse or the run meets a rule fault that
// does not end the process (rule_file.h): no region is then a hit.
ANALYSE_EXPORT int file_based_query_analysis(const char* filename, region_tree* tree, image* grey);
// The same with a program already parsed (not freed).
ANALYSE_EXPORT int program_based_query_analysis(program* prog, region_tree* tree, image* grey);
// Runs the program on every son of the root and their subtrees (the root is
// never tested); returns the hit count. The marks are taken as they are,
// and a rule fault that does not end the process gives them back and
// returns 0.
ANALYSE_EXPORT int query_analysis(program* prog, region_tree* tree, image* grey);
// The walk of one subtree; adds its hits to *hits. Once the machine has
// failed (rule_file.h) no region passes.
ANALYSE_EXPORT void region_query_analysis(tregionnode* region, vm* machine, int* hits);

// array[label] := region for every hit below the root (significance exactly
// 1.0); the array has at least the tree's regions + 1 entries, other slots
// stay as they are.
ANALYSE_EXPORT void qa_reconstruct_nodevector(tregionnode** array, region_tree* tree);
// The same for one subtree, the region included.
ANALYSE_EXPORT void qa_local_reconstruct_nodevector(tregionnode** array, tregionnode* region);

// Paints the outer contours of hits into the label image with its max + 1.
ANALYSE_EXPORT void query_reconstruct_image(region_tree* tree, image* labels);
// With paint set, paints the outer contour of a top-down hit and nothing
// more of that hit's subtree by that rule; always paints the outer contours
// of the lowest bottom-up hits of each branch. 1 when the subtree holds a
// bottom-up hit.
ANALYSE_EXPORT int region_reconstruct(tregionnode* region, image* labels, int paint);

// td_mark / bu_mark := 1 (mark) or 2 (unmark) on the region and all
// descendants.
ANALYSE_EXPORT void mark_top_down_analyse(tregionnode* region);
ANALYSE_EXPORT void unmark_top_down_analyse(tregionnode* region);
ANALYSE_EXPORT void mark_bottom_up_analyse(tregionnode* region);
ANALYSE_EXPORT void unmark_bottom_up_analyse(tregionnode* region);
// significance := value on all descendants, not on the region itself.
ANALYSE_EXPORT void initialize_significance(tregionnode* region, double value);
// selection := -1 for every son of the root whose age is at least the
// tree's scales.
ANALYSE_EXPORT void mark_overaged_regions(region_tree* tree);
// selection := -2 for every region of the subtree with birth + age below
// the scale.
ANALYSE_EXPORT void mark_youngest_regions(tregionnode* region, int scale);

// Of two regions the preferred one by size: with r the smaller size over the
// larger, the larger for r <= 0.4 or r >= 0.5, the smaller in between.
ANALYSE_EXPORT tregionnode* compare_significance(tregionnode* a, tregionnode* b);
// 1 when b's convexity is greater than a's.
ANALYSE_EXPORT int pa_significance(const tregionnode* a, const tregionnode* b);
ANALYSE_EXPORT int td_significance(const tregionnode* a, const tregionnode* b);
ANALYSE_EXPORT int bu_significance();
ANALYSE_EXPORT double check_region_significance_td(const tregionnode* region);
// Stores regions of positive top-down significance into array[label],
// descending below regions of negative significance, skipping over-aged and
// youngest regions.
ANALYSE_EXPORT void top_down_region_select(tregionnode* region, tregionnode** array, int mode);
// top_down_region_select from the bright root into the bright active
// regions (mode 2) and from the dark root into the dark ones (mode 1).
ANALYSE_EXPORT void top_down_analyse(region_tree* bright, region_tree* dark, dual_analyse* dual);
