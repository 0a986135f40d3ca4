#pragma once

// Scoped handles for the records of the region library (see
// imagecore/handles.h).

#include "analyse/attributes/attributes.h"
#include "analyse/display/dual_analyse.h"
#include "analyse/features/rhistogram.h"
#include "analyse/rules/rule_program.h"
#include "analyse/rules/virtualmachine.h"
#include "analyse/trees/lRegion_Graph.h"
#include "analyse/trees/regiontree.h"
#include "analyse/vectors/kohonen.h"
#include "analyse/vectors/vector_array.h"
#include "filter/handles.h"

using region_tree_handle = record_handle<region_tree, delete_regiontree>;
// A node and its subtree, for nodes that belong to no tree.
using region_node_handle = record_handle<tregionnode, delete_region>;
using attrib_array_handle = record_handle<attrib_array, delete_attrib_array>;
using program_handle = record_handle<program, delete_program>;
using vm_handle = record_handle<vm, delete_vm>;
using dual_analyse_handle = record_handle<dual_analyse, delete_dual_analyse>;
using rhistogram_handle = record_handle<rhistogram, delete_rhistogram>;
using rg_control_handle = record_handle<rg_control, delete_region_graph_control>;
using vector_array_handle = record_handle<vector_array, delete_vector_array>;
using sofm_handle = record_handle<sofm_params, delete_sofm>;
