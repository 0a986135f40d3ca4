#pragma once

// Feature vectors and sets of them, handed between the tables, the
// self-organising map and its GUI, with the few vector operations they use.

#include "analyse/analyse_export.h"

// One feature vector, or one weight vector of a map unit.
struct vector {
    double* values;  // dim values, owned
    double x;        // map position, 0..1
    double y;
    int col;  // map column and row
    int row;
    // For an input the map unit it seeded or was placed on, for a weight the
    // input that labelled it; -1 when none.
    int unit;
    int mark;
    int gt_class;  // ground-truth class, -1 none
};

struct vector_array {
    vector* vectors;  // count vectors, owned
    char** names;     // dim owned column names, or null
    int count;
    int dim;
};

// count vectors of dim values, every value set to `value`, unit index 0 and
// the other vector fields 0, no column names. Null with a message when dim or
// count is negative.
ANALYSE_EXPORT vector_array* init_vector_array(int dim, int count, double value);
// Frees the column names, every vector's values, the vectors and the record.
ANALYSE_EXPORT void delete_vector_array(vector_array* array);

// The arithmetic works on the first n values.
// v := x v + w; with w null v := x v.
ANALYSE_EXPORT void vector_add(double x, vector* v, const vector* w, int n);
// v := w.
ANALYSE_EXPORT void copy_vector(vector* v, const vector* w, int n);
// v := a v + b w.
ANALYSE_EXPORT void dist_vector_add(double a, double b, vector* v, const vector* w, int n);
// v := v + x (w - v); returns the Euclidean length of the change.
ANALYSE_EXPORT double adaptive_vector_add(double x, vector* v, const vector* w, int n);
