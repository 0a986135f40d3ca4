#pragma once

// The cluster labels grown over a map whose weight vectors lie in one block
// of units x dim values (map->weights point into it), shared among
// `workers` threads. The result does not depend on the worker count. Not
// part of the library's interface.

#include "analyse/vectors/kohonen.h"

// The region growing of initClusterLabelMap from the cluster centres of the
// inputs: labels and distances get one entry per unit. The queue is worked
// through one generation at a time: the distances of a generation's
// neighbours are measured in parallel, the labels then change in queue
// order exactly as the one-at-a-time growing changes them.
void grow_cluster_labels(sofm_params* map, const double* block, int* labels, double* distances,
                         int workers);
