#pragma once

// The training pass and the local distances of a map whose weight vectors
// lie in one block of units x dim values (map->weights point into it),
// shared among `workers` threads. Results do not depend on the worker
// count. Not part of the library's interface.

#include "analyse/vectors/kohonen.h"

// One pass over the inputs as sofm_step_display makes it: the same steps,
// trace lines and refreshes, show (when not null) called on the calling
// thread. The map's learning rate must be a number of at least 0 and its
// step count within 0 .. max_steps, which keeps every move towards the input.
// A step's winner is found while the step before moves the map, before any
// refresh between them, so show must not change the map. When *stop (stop
// not null) is true after a refresh, the pass ends there: after the step
// before it, every unit having taken its moves.
void train_pass(sofm_params* map, double* block, int display_steps, sofm_display_fn show,
                void* context, const bool* stop, int workers);

// update_display: local distances of every unit, the marker map drawn from
// them.
void draw_local_distances(sofm_params* map, const double* block, int workers);
