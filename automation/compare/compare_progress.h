#pragma once

// Progress of the ground-truth comparisons: called with the index of the
// image just compared and the caller's context, after each image, on the
// thread that runs the comparison, and only when the context is not null.
typedef void (*compare_progress_fn)(int imageIndex, void* context);
