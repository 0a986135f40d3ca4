#include "analyse/vectors/vector_array.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "imagecore/fatal.h"
#include "imagecore/report.h"

namespace {

constexpr const char* kNoMemory = " Not enough Mem for a vector array\n";

}  // namespace

vector_array* init_vector_array(int dim, int count, double value)
{
    if (dim < 0 || count < 0) {
        vx_report("Could not create a vector array of %d vectors of dimension %d\n", count, dim);
        return nullptr;
    }
    auto* array = static_cast<vector_array*>(
        vx_calloc(1, sizeof(vector_array), exit_code::out_of_memory, kNoMemory));
    array->vectors = static_cast<vector*>(
        vx_calloc(static_cast<size_t>(count), sizeof(vector), exit_code::out_of_memory, kNoMemory));
    array->count = count;
    array->dim = dim;
    for (int i = 0; i < count; ++i) {
        double* values = static_cast<double*>(vx_calloc(static_cast<size_t>(dim), sizeof(double),
                                                        exit_code::out_of_memory, kNoMemory));
        for (int k = 0; k < dim; ++k)
            values[k] = value;
        array->vectors[i].values = values;
    }
    return array;
}

void delete_vector_array(vector_array* array)
{
    if (array == nullptr)
        return;
    if (array->names != nullptr) {
        for (int k = 0; k < array->dim; ++k)
            std::free(array->names[k]);
        std::free(array->names);
    }
    for (int i = 0; i < array->count; ++i)
        std::free(array->vectors[i].values);
    std::free(array->vectors);
    std::free(array);
}

void vector_add(double x, vector* v, const vector* w, int n)
{
    double* a = v->values;
    if (w == nullptr) {
        for (int k = 0; k < n; ++k)
            a[k] *= x;
        return;
    }
    const double* b = w->values;
    for (int k = 0; k < n; ++k)
        a[k] = x * a[k] + b[k];
}

void copy_vector(vector* v, const vector* w, int n)
{
    for (int k = 0; k < n; ++k)
        v->values[k] = w->values[k];
}

void dist_vector_add(double a, double b, vector* v, const vector* w, int n)
{
    double* p = v->values;
    const double* q = w->values;
    for (int k = 0; k < n; ++k)
        p[k] = a * p[k] + b * q[k];
}

double adaptive_vector_add(double x, vector* v, const vector* w, int n)
{
    double* p = v->values;
    const double* q = w->values;
    double moved = 0.0;
    for (int k = 0; k < n; ++k) {
        const double d = x * (q[k] - p[k]);
        p[k] += d;
        moved += d * d;
    }
    return std::sqrt(moved);
}
