#pragma once

// The cluster map of a trained map whose weight vectors lie in one block of
// units x dim values (map->weights point into it), shared among `workers`
// threads. The result does not depend on the worker count. Not part of the
// library's interface.

#include "analyse/vectors/kohonen.h"

// init_cluster_map: every input but the first on its nearest unit (the
// lowest of tied ones), every unit labelled with the last input nearest to
// it; the same trace lines and displays, and a display after every block
// of inputs. Blocks of inputs share each pass over the weights, except when
// the distance map is shown after every input.
void locate_inputs(sofm_params* map, const double* block, double* distance_map, int* labels,
                   sofm_display_fn show, void* context, int workers);
