#pragma once

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "analyse/vectors/kohonen.h"
#include "analyse/vectors/vector_array.h"
#include "analyse/vectors/vectorfile.h"
#include "automation/automation_export.h"

// A Kohonen self-organising feature map trained on a borrowed set of input
// vectors (VxTable::extractVArray), over the map record of
// analyse/vectors/kohonen.h: a width x height grid of weight vectors, unit i
// in column i % width and row i / width. A subclass shows the map by
// overriding refresh_display, which the training and every display*
// operation call after drawing the marker map (sofm()->marker, one value
// per unit).
//
// The training passes, the cluster map, the label growing and the local
// distances share their work among the solo workers (filter/tree_workers.h:
// all hardware threads unless set); the results do not depend on their
// number. refresh_display is called on the calling thread between training
// steps and between the rounds of inputs of the cluster map; it shows the
// map and must not change it, but it may ask the training to stop.
//
// A map that cannot be built (sizes below 1, no inputs, a ".som" file that
// cannot be read or does not fit the inputs) has 0 units: it prints why,
// trains nothing and writes no weights.
class AUTOMATION_EXPORT vxsofm {
public:
    // A new map: inputs normalised as `normalization` says (1 Euclidean,
    // 2 into 0..1 per dimension, other none), weights drawn at random from
    // the bounds of the normalised inputs, inputs spread over the grid as
    // seeds, local distances filled. `function` picks the neighbourhood
    // weight: 1 Gaussian, 2 or 3 linear, other constant.
    vxsofm(int width, int height, vector_array* inputs, double learnRate, double learnScope,
           int maxSteps, int function, int normalization);
    // A map read from a ".som" file written by write() for the same inputs:
    // the inputs are normalised as the map was, placed on their units and
    // given the stored classes and marks. A file whose input count or
    // dimension differs from `inputs` is refused.
    vxsofm(const char* file, vector_array* inputs);
    virtual ~vxsofm();
    vxsofm(const vxsofm&) = delete;
    vxsofm& operator=(const vxsofm&) = delete;

    // The subclass's display of the marker map; nothing here.
    virtual void refresh_display() {}

    // --- training ---
    // Passes over the inputs until the step count reaches its maximum, or a
    // stop is asked, then the cluster map. Refused with a message when the
    // learning rate or a step count is negative (or not a number).
    // Refreshes every displaySteps inputs (max(10, inputs / 100) when not
    // positive).
    void sofm_run(int displaySteps);
    // One pass over the inputs in order, checked as sofm_run; it too ends
    // early when a stop is asked.
    void sofm_step(int displaySteps);
    // Asks the training under way to end after the current step, so that
    // sofm_run builds the cluster map from what is trained; meant for
    // refresh_display. Each sofm_run and sofm_step starts without it.
    void stop_training() { stop_asked_ = true; }
    // One step for the input at the current position of the pass.
    void sofm_adaptionstep();
    // Per-dimension bounds of the inputs, printed.
    void minmax_interval();
    void euclidian_normalize_input();
    void interval_normalize_input();
    // Draws the weights anew from the private generator and seeds the grid.
    void init_weight_vecs();
    // Stores the two numbers and restarts the private generator from them;
    // until then it starts from a fixed seed, so runs repeat.
    void setseed(long a, long b);

    // --- maps ---
    // Local distance of every unit to its right and lower-right neighbours,
    // drawn into the marker map.
    void update_display();
    // Places every input but the first on its nearest unit, which becomes
    // its cluster centre, and labels each unit with the last input nearest
    // to it (the distance map holds that distance).
    void init_cluster_map();
    // Grows the labels of the cluster centres over the grid by region
    // growing: a unit takes a label when its weight is farther from that
    // centre than the unit it grows from, or nearer to it than to its own.
    void initClusterLabelMap();
    void displayClusterLabelMap();
    void displayLocalDistanceMap();
    void displayDistanceMap();
    // Marks the unit of every input but the first and its 8 neighbours.
    void setMarkerForInput();
    // Whether unit + offset lies on the map next to unit (no wrap).
    bool isNeighbor(int unit, int offset) const;
    void set_marker(int unit, int value);

    int width() const;
    int height() const;
    sofm_params* sofm();

    // --- files ---
    // The ".som" text file of the map; `source` names the table, `columns`
    // holds the dimension's table column numbers (null: none written).
    // False with a message when the file cannot be written.
    bool write(const char* file, const char* source, const unsigned* columns);
    // A new array of n vectors of dim values `value`, when the file exists.
    vector_array* read_vector_array(const char* file, int dim, int n, double value);
    // Fills the vectors of `array` from lines of dim comma-separated values
    // and a unit index, as write_vector_array(FILE*) writes them. Returns the
    // number of vectors read; a bad line ends the reading with a message.
    int read_vector_array(FILE* f, vector_array* array);
    // The weights as "Dim: %d, Num: %d" and one "%f, ..., %f." line each.
    bool write_vector_array(const char* file);
    // One line per vector: its values and its unit index, joined by ", ".
    void write_vector_array(FILE* f, const vector_array* array);
    // A line of the column names (when the array has them), then the lines
    // of write_vector_array(FILE*).
    bool write_2d_vector_array(const char* file, const vector_array* array);
    // Reads a Kohonen vector set; the map keeps it (replacing one it read
    // before) and returns it, or null.
    vector_array* load_kohonen_vector_set(const char* file);

    // --- vector helpers on the first n values ---
    static void vector_add(double x, vector* v, const vector* w, int n)
    {
        ::vector_add(x, v, w, n);
    }
    static void copy_vector(vector* v, const vector* w, int n) { ::copy_vector(v, w, n); }
    static void dist_vector_add(double a, double b, vector* v, const vector* w, int n)
    {
        ::dist_vector_add(a, b, v, w, n);
    }
    static double adaptive_vector_add(double x, vector* v, const vector* w, int n)
    {
        return ::adaptive_vector_add(x, v, w, n);
    }
    static double euclidian_norm(const vector* v, int n) { return ::euclidian_norm(v, n); }
    static double euclidian_distance(const vector* v, const vector* w, int n)
    {
        return ::euclidian_distance(v, w, n);
    }
    static double euclidian_normed_distance(const vector* v, const vector* w, int n)
    {
        return ::euclidian_normed_distance(v, w, n);
    }
    static double square(double x) { return ::square(x); }
    static double cone_weight(double a, double b) { return ::cone_weight(a, b); }
    static double gauss_weight(double a, double b) { return ::gauss_weight(a, b); }
    static void displace_representant(vector* v, const vector* w, double x)
    {
        ::displace_representant(v, w, x);
    }

protected:
    // Added to the cluster labels by displayClusterLabelMap.
    int label_offset = 0;

private:
    bool trainable() const;
    void normalize_inputs();
    void ensure_maps();
    void scale_markers(const double* values);
    bool read_file(const char* file, vector_array* inputs);
    void make_empty();

    void adopt_weights();

    struct params_deleter {
        void operator()(sofm_params* p) const;
    };
    struct array_deleter {
        void operator()(vector_array* a) const { delete_vector_array(a); }
    };

    // The weight values of every unit, unit after unit; the map's weight
    // vectors point into it. Declared before the map so that it outlives
    // the map.
    std::vector<double> block_;
    std::unique_ptr<sofm_params, params_deleter> map_;
    std::unique_ptr<vector_array, array_deleter> loaded_;
    std::vector<int> cluster_labels_;   // one per unit once built
    std::vector<double> distance_map_;  // one per unit once built
    std::mt19937 random_;
    bool stop_asked_ = false;
};
