#pragma once

// The inner loops of the passes over a map, whose weights lie in one block
// of units x dim values: a weight's distance to a vector, a dot product, a
// weight's move towards a vector; and the nearest unit of a search. Not
// part of the library's interface.

#include <cmath>
#include <cstddef>

// The passes over the map are built twice, for any x86-64 processor and for
// one with AVX2, and the loader picks the one the machine runs: the same
// operations in the same order, on vectors twice as wide, so the results
// do not depend on the pick. Not under ThreadSanitizer, which cannot start
// a program whose loader picks.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VX_THREAD_SANITIZER 1
#endif
#endif
#if defined(__x86_64__) && !defined(__SANITIZE_THREAD__) && !defined(VX_THREAD_SANITIZER)
#define VX_WIDE_PASS __attribute__((target_clones("avx2", "default")))
#else
#define VX_WIDE_PASS
#endif
// The inner loops go into each build of the passes that call them.
#define VX_INNER_LOOP inline __attribute__((always_inline))

// Squared Euclidean distance of the first dim values of a and b. Eight
// running sums, which the compiler vectorises, are added in a fixed order:
// the result may differ from a plain left-to-right sum in the last bits, but
// never between calls, threads or worker counts.
VX_INNER_LOOP double squared_distance(const double* a, const double* b, int dim)
{
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0, s4 = 0.0, s5 = 0.0, s6 = 0.0, s7 = 0.0;
    int k = 0;
    for (; k + 8 <= dim; k += 8) {
        const double d0 = a[k] - b[k], d1 = a[k + 1] - b[k + 1];
        const double d2 = a[k + 2] - b[k + 2], d3 = a[k + 3] - b[k + 3];
        const double d4 = a[k + 4] - b[k + 4], d5 = a[k + 5] - b[k + 5];
        const double d6 = a[k + 6] - b[k + 6], d7 = a[k + 7] - b[k + 7];
        s0 += d0 * d0;
        s1 += d1 * d1;
        s2 += d2 * d2;
        s3 += d3 * d3;
        s4 += d4 * d4;
        s5 += d5 * d5;
        s6 += d6 * d6;
        s7 += d7 * d7;
    }
    for (; k < dim; ++k) {
        const double d = a[k] - b[k];
        s0 += d * d;
    }
    return ((s0 + s1) + (s2 + s3)) + ((s4 + s5) + (s6 + s7));
}

// The dot product of the first dim values of a and b, summed as
// squared_distance sums.
VX_INNER_LOOP double dot_product(const double* a, const double* b, int dim)
{
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0, s4 = 0.0, s5 = 0.0, s6 = 0.0, s7 = 0.0;
    int k = 0;
    for (; k + 8 <= dim; k += 8) {
        s0 += a[k] * b[k];
        s1 += a[k + 1] * b[k + 1];
        s2 += a[k + 2] * b[k + 2];
        s3 += a[k + 3] * b[k + 3];
        s4 += a[k + 4] * b[k + 4];
        s5 += a[k + 5] * b[k + 5];
        s6 += a[k + 6] * b[k + 6];
        s7 += a[k + 7] * b[k + 7];
    }
    for (; k < dim; ++k)
        s0 += a[k] * b[k];
    return ((s0 + s1) + (s2 + s3)) + ((s4 + s5) + (s6 + s7));
}

// w := w + rate (x - w), value by value as the plain training step does.
VX_INNER_LOOP void move_towards(double* w, const double* x, double rate, int dim)
{
    for (int k = 0; k < dim; ++k)
        w[k] += rate * (x[k] - w[k]);
}

// The weights of one unit in a block of dim values per unit.
inline double* unit_weights(double* block, int unit, int dim)
{
    return block + static_cast<size_t>(unit) * static_cast<size_t>(dim);
}

inline const double* unit_weights(const double* block, int unit, int dim)
{
    return block + static_cast<size_t>(unit) * static_cast<size_t>(dim);
}

// The nearest unit seen so far (-1: none) and its squared distance. Of equal
// distances the lowest unit wins, and a distance that is no number loses to
// every other, so that the winner does not depend on the order of visits.
struct nearest_unit {
    double distance = 0.0;
    int unit = -1;

    void offer(double d, int candidate)
    {
        if (unit < 0 || d < distance || (d == distance && candidate < unit) ||
            (std::isnan(distance) && (!std::isnan(d) || candidate < unit))) {
            distance = d;
            unit = candidate;
        }
    }
    void offer(const nearest_unit& other)
    {
        if (other.unit >= 0)
            offer(other.distance, other.unit);
    }
};
