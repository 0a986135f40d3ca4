#pragma once

// run_vm with the current region's Fourier descriptor coefficients given:
// the program's num_fdc values that get_fourier_descriptor gives for the
// region's contour and the program's width, computed beforehand (a pass
// over many regions computes them on several threads). Null computes them
// as run_vm does.

struct vm;

int run_vm_with_descriptor(vm* m, const double* coefficients);
