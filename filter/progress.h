#pragma once

// Progress of the tree computations: the partition reports kind 1 (bright)
// or 2 (dark), the region graph kind 11 or 12; step is the 0-based number of
// the scale just finished. Called on the worker thread.
using tree_progress_fn = void (*)(int kind, int step, void* context);
