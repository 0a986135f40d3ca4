#pragma once

// Chain-code ordering of contour positions (row * width + column). Both
// operations print each step they take, for diagnosis.

#include "analyse/analyse_export.h"

// Fills offsets[0..7] with the chain-code neighbour offsets for an image of
// the given width: N, E, S, W, NW, NE, SE, SW.
ANALYSE_EXPORT void set_chaincode_offsets(int* offsets, int width);

// The direction d whose offset leads from `last` to `position`, searching from
// `start_direction`, or -1 when none does.
ANALYSE_EXPORT int nextchainpos(int position, int last, const int* offsets, int connectivity,
                                int start_direction);

// Reorders the n positions in place so that each follows a neighbour. The
// first position stays first; positions that never touch the chain keep their
// order at the end.
ANALYSE_EXPORT void contour_chaincode_order(int* contour, int n, int width, int connectivity);
