#include <climits>
#include <cmath>
#include <cstdlib>

#include "filter/templates.h"
#include "imagecore/draw.h"

namespace {

// Half-size of a grid, or -1 when it is not a number in 0..F_TEMPLATE_MAX_HALF.
int half_size(double h)
{
    if (!(h >= 0.0) || h > F_TEMPLATE_MAX_HALF)
        return -1;
    return static_cast<int>(h);
}

double* new_grid(int half, int* size)
{
    if (half < 0)
        return nullptr;
    *size = 2 * half + 1;
    const size_t cells = static_cast<size_t>(*size) * static_cast<size_t>(*size);
    return static_cast<double*>(std::malloc(sizeof(double) * cells));
}

// A grid whose cells within distance `limit` of the centre weigh
// weight(d * d), the others are outside; `half` is the grid's half-size.
template <class Weight>
double* radial_template(double limit, int half, int* size, Weight weight)
{
    double* grid = new_grid(half, size);
    if (grid == nullptr)
        return nullptr;
    const int n = *size;
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const double dx = col - half;
            const double dy = row - half;
            const double d2 = dx * dx + dy * dy;
            grid[row * n + col] = d2 <= limit * limit ? weight(d2) : -1.0;
        }
    }
    return grid;
}

// Weights r * profile(d / r) of the profiles over a disk of radius r.
template <class Profile>
double* profile_template(double r, int* size, Profile profile)
{
    return radial_template(r, half_size(std::floor(r + 0.5)), size, [r, profile](double d2) {
        return d2 == 0.0 ? r * profile(0.0) : r * profile(std::sqrt(d2) / r);
    });
}

}  // namespace

double* init_disk_template(const functions* tmpl, int* size)
{
    const int half = half_size(std::floor(tmpl->radius + 0.5));
    return radial_template(half, half, size, [](double) { return 0.0; });
}

double* init_sphere_template(const functions* tmpl, int* size)
{
    return profile_template(tmpl->radius, size, [](double q) { return std::sqrt(1.0 - q * q); });
}

double* init_circ_pow_template(const functions* tmpl, int* size)
{
    const double p = tmpl->exponent < 1.0 ? 1.0 : tmpl->exponent;
    return profile_template(tmpl->radius, size, [p](double q) { return 1.0 - std::pow(q, p); });
}

double* init_elip_pow_template(const functions* tmpl, int* size)
{
    const int m = tmpl->axis_a > tmpl->axis_b ? tmpl->axis_a : tmpl->axis_b;
    double* grid = new_grid(half_size(m), size);
    if (grid == nullptr)
        return nullptr;
    const double r = tmpl->radius;
    const double p = tmpl->exponent < 1.0 ? 1.0 : tmpl->exponent;
    const int n = *size;
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const double dx = std::abs(col - m);
            const double dy = std::abs(row - m);
            const double q =
                std::sqrt((tmpl->axis_a * (dx * dx + dy * dy) + 2.0 * tmpl->axis_b * dx * dy) / r);
            grid[row * n + col] = r - r * std::pow(q, p);
        }
    }
    return grid;
}

double* init_square_template(const functions* tmpl, int* size)
{
    double* grid = new_grid(half_size(tmpl->radius), size);
    if (grid == nullptr)
        return nullptr;
    const size_t cells = static_cast<size_t>(*size) * static_cast<size_t>(*size);
    for (size_t i = 0; i < cells; ++i)
        grid[i] = 0.0;
    return grid;
}

int binomkoeff(int n, int k)
{
    if (k == 0)
        return 1;
    const double b = fact(n) / (fact(k) * fact(n - k));
    // Factorials beyond the double range give no finite quotient.
    if (!(b < static_cast<double>(INT_MAX)))
        return INT_MAX;
    return static_cast<int>(b);
}

double* binomial(const functions* tmpl, int* size)
{
    const int k = half_size(tmpl->radius);
    double* grid = new_grid(k, size);
    if (grid == nullptr)
        return nullptr;
    const int n = *size;
    for (int row = 0; row < n; ++row)
        for (int col = 0; col < n; ++col)
            grid[row * n + col] =
                static_cast<double>(binomkoeff(2 * k, row)) * binomkoeff(2 * k, col);
    return grid;
}
