#pragma once

#include <vector>

#include "analyse/analyse_export.h"
#include "analyse/vectors/vector_array.h"

// A Kohonen self-organising feature map over plain records: a width x height
// grid of weight vectors trained on a set of input vectors. Unit i lies in
// column i % width and row i / width; the neighbourhood update treats the grid
// as a torus.

// Parameters and state of one map.
struct sofm_params {
    int width;
    int height;
    int units;  // width * height
    double learn_rate;
    double learn_scope;  // kept with the map; the training does not use it
    int dim;
    int step;  // training steps done
    int max_steps;
    int num_inputs;
    int current;            // position of the input being trained in `order`
    int normalization;      // 1 Euclidean, 2 interval, other none
    int* order;             // processing order, one entry per input
    int function;           // neighbourhood: 1 Gaussian, 2 or 3 linear, other constant
    int* marker;            // display picture, one value per unit
    int* cluster_center;    // nearest unit per input
    vector_array* inputs;   // borrowed
    vector_array* weights;  // owned, one vector per unit
    double* local_dist;     // one per unit
    double* max;            // per dimension, over the inputs
    double* min;
};

// Called when the training or the cluster map has a new picture in the
// marker map.
using sofm_display_fn = void (*)(sofm_params* map, void* context);

// A map record of width x height units for the inputs: sizes and inputs
// set, every array allocated and zero, the learning parameters 0. Null with
// a message for sizes below 1 or missing inputs.
ANALYSE_EXPORT sofm_params* create_sofm_params(int width, int height, vector_array* inputs);
// A new map for the inputs: bounds computed, weights initialised, local
// distances filled; the inputs are not normalised. Null with a message for
// sizes below 1 or missing inputs.
ANALYSE_EXPORT sofm_params* init_sofm(int width, int height, vector_array* inputs,
                                      double learn_rate, double learn_scope, int max_steps,
                                      int function, int normalization);
// Frees the map and its weights; the inputs stay with the caller.
ANALYSE_EXPORT void delete_sofm(sofm_params* map);
// Stores two numbers for the generator set-up.
ANALYSE_EXPORT void setseed(long a, long b);

// Per-dimension minimum and maximum of the inputs, printed.
ANALYSE_EXPORT void minmax_interval(sofm_params* map);
// Maps every value into 0..1 by the bounds (v - min when max = min).
ANALYSE_EXPORT void interval_normalize_input(sofm_params* map);
// Scales every input to length 1; a zero vector stays zero.
ANALYSE_EXPORT void euclidian_normalize_input(sofm_params* map);
// Random weights from the bounds; inputs spread over the grid as seeds.
ANALYSE_EXPORT void init_weight_vecs(sofm_params* map);
// The same with the random numbers in 0..1 drawn from uniform(context).
ANALYSE_EXPORT void init_weight_vecs_from(sofm_params* map, double (*uniform)(void* context),
                                          void* context);
// Processing order 0, 1, ..., n - 1 from the first input.
ANALYSE_EXPORT void init_processedvecs(sofm_params* map);

ANALYSE_EXPORT double square(double x);
// Length of the first n values of v.
ANALYSE_EXPORT double euclidian_norm(const vector* v, int n);
// Distance of v and w over n values; the norm of v when w is null.
ANALYSE_EXPORT double euclidian_distance(const vector* v, const vector* w, int n);
// euclidian_distance divided by sqrt(n), comparable across dimensions.
ANALYSE_EXPORT double euclidian_normed_distance(const vector* v, const vector* w, int n);
// Moves v's map position by x d (v - w) per axis, d the distance of the two
// positions, folded back into 0..1.
ANALYSE_EXPORT void displace_representant(vector* v, const vector* w, double x);
// (b - a) / b.
ANALYSE_EXPORT double cone_weight(double a, double b);
// exp(-a^2 / (2 b^2)).
ANALYSE_EXPORT double gauss_weight(double a, double b);

// One training step for the input at the current position: the nearest
// weight and its neighbourhood move towards the input. A negative move ends
// the process (code 34).
ANALYSE_EXPORT void sofm_adaptionstep(sofm_params* map);
// Local distances of every unit to its right and lower-right neighbours, and
// the marker map drawn from them.
ANALYSE_EXPORT void update_display(sofm_params* map);
// Markers 255 for the smallest of the units' values down to 0 for the
// largest (255 everywhere when they are all equal).
ANALYSE_EXPORT void sofm_draw_markers(sofm_params* map, const double* values);
// Sets the marker of a unit on the map.
ANALYSE_EXPORT void set_marker(sofm_params* map, int unit, int value);

// One training pass over the inputs; every max(1, n / 100) inputs the local
// distances are recomputed.
ANALYSE_EXPORT void sofm_step(sofm_params* map);
// The same, recomputing every display_steps inputs (max(10, n / 100) when not
// positive) and then calling show (when not null).
ANALYSE_EXPORT void sofm_step_display(sofm_params* map, int display_steps, sofm_display_fn show,
                                      void* context);

// Places every input on its nearest unit and labels the units. distance_map
// and labels hold one entry per unit (either may be null when not wanted).
ANALYSE_EXPORT void init_cluster_map(sofm_params* map, double* distance_map, int* labels,
                                     sofm_display_fn show, void* context);
// The bookkeeping that every way of building the cluster map shares: the
// distance map (the caller's, or one of its own) and the labels cleared, the
// start and stop lines, a progress line every tenth of the inputs, each
// input placed on its winner, and the displays: after every input when
// there are fewer than 30 inputs, and at the end.
class ANALYSE_EXPORT cluster_map_run {
public:
    cluster_map_run(sofm_params* map, double* distance_map, int* labels, sofm_display_fn show,
                    void* context);
    cluster_map_run(const cluster_map_run&) = delete;
    cluster_map_run& operator=(const cluster_map_run&) = delete;

    double* distances() const { return distances_; }
    bool shows_each_input() const { return show_each_; }
    // Input i (from 1) lies on unit winner.
    void place(int i, int winner) const;
    void display() const;
    // The last display and the stop line.
    void finish() const;

private:
    sofm_params* map_;
    std::vector<double> own_distances_;
    double* distances_;
    sofm_display_fn show_;
    void* context_;
    long start_;
    int report_;
    bool show_each_;
};

// Trains until max_steps, then builds the cluster map.
ANALYSE_EXPORT void sofm_run(sofm_params* map, double* distance_map, int* labels);
ANALYSE_EXPORT void sofm_run_display(sofm_params* map, int display_steps, double* distance_map,
                                     int* labels, sofm_display_fn show, void* context);
