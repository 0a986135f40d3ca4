#include "imagecore/volume.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "imagecore/fatal.h"
#include "imagecore/report.h"

float* float_interpol = nullptr;

namespace {

constexpr const char* kNoVolume = "Cannot alloc interpolation volume";

// Voxel count of an nx x ny x nz volume, or 0 when a side is not positive or
// the count does not fit in memory addressing.
size_t voxel_count(long nx, long ny, long nz)
{
    if (nx <= 0 || ny <= 0 || nz <= 0)
        return 0;
    const auto x = static_cast<size_t>(nx);
    const auto y = static_cast<size_t>(ny);
    const auto z = static_cast<size_t>(nz);
    const size_t limit = PTRDIFF_MAX / sizeof(double);
    if (x > limit / y || x * y > limit / z)
        return 0;
    return x * y * z;
}

}  // namespace

int interpol_2to1(int nx, int ny, int nz, float* volume)
{
    const long X = 2L * nx;
    const long Y = 2L * ny;
    const long Z = 2L * nz;
    const size_t n = voxel_count(X, Y, Z);
    if (n == 0) {
        vx_report("interpol_2to1: volume of %d x %d x %d voxels cannot be doubled\n", nx, ny, nz);
        return -1;
    }
    auto* out =
        static_cast<float*>(vx_calloc(n, sizeof(float), exit_code::out_of_memory, kNoVolume));
    // Voxel (x, y, z) of the doubled volume is input voxel (x/2, y/2, z/2).
    auto in = [&](long x, long y, long z) {
        return volume[(static_cast<size_t>(z / 2) * static_cast<size_t>(ny) +
                       static_cast<size_t>(y / 2)) *
                          static_cast<size_t>(nx) +
                      static_cast<size_t>(x / 2)];
    };
    float* o = out;
    for (long z = 0; z < Z; ++z)
        for (long y = 0; y < Y; ++y)
            for (long x = 0; x < X; ++x, ++o) {
                const bool inner = x > 0 && y > 0 && z > 0 && x < X - 1 && y < Y - 1 && z < Z - 1;
                *o = inner ? (in(x - 1, y, z) + in(x + 1, y, z) + in(x, y - 1, z) +
                              in(x, y + 1, z) + in(x, y, z - 1) + in(x, y, z + 1)) /
                                 6.0f
                           : in(x, y, z);
            }
    std::free(volume);
    float_interpol = out;
    return 0;
}

int interpol_1to2(int nx, int ny, int nz, float* volume)
{
    const long X = nx / 2;
    const long Y = ny / 2;
    const long Z = nz / 2;
    const size_t n = voxel_count(X, Y, Z);
    if (n == 0 || voxel_count(nx, ny, nz) == 0) {
        vx_report("interpol_1to2: volume of %d x %d x %d voxels cannot be halved\n", nx, ny, nz);
        return -1;
    }
    auto* out =
        static_cast<float*>(vx_calloc(n, sizeof(float), exit_code::out_of_memory, kNoVolume));
    const size_t sx = static_cast<size_t>(nx);
    const size_t sxy = sx * static_cast<size_t>(ny);
    float* o = out;
    for (long z = 0; z < Z; ++z)
        for (long y = 0; y < Y; ++y)
            for (long x = 0; x < X; ++x, ++o) {
                const float* p = volume + static_cast<size_t>(2 * z) * sxy +
                                 static_cast<size_t>(2 * y) * sx + static_cast<size_t>(2 * x);
                *o = (p[0] + p[1] + p[sx] + p[sx + 1] + p[sxy] + p[sxy + 1] + p[sxy + sx] +
                      p[sxy + sx + 1]) /
                     8.0f;
            }
    std::free(volume);
    float_interpol = out;
    return 0;
}

namespace {

// Voxel count of n slices of width x height, after a message when invalid.
size_t ecat_count(const char* who, int n, int width, int height)
{
    const size_t count = voxel_count(width, height, n);
    if (count == 0)
        vx_report("%s: invalid volume of %d slices of %d x %d\n", who, n, width, height);
    return count;
}

}  // namespace

float* get_float_ecat(int n, int width, int height, const short* data, float factor)
{
    const size_t count = ecat_count("get_float_ecat", n, width, height);
    if (count == 0)
        return nullptr;
    auto* out =
        static_cast<float*>(vx_calloc(count, sizeof(float), exit_code::out_of_memory, kNoVolume));
    for (size_t i = 0; i < count; ++i)
        out[i] = static_cast<float>(data[count - 1 - i]) * factor;
    return out;
}

int* get_int_ecat(int n, int width, int height, const short* data, float factor)
{
    if (factor == 0.0f || !std::isfinite(factor)) {
        vx_report("get_int_ecat: the factor has no inverse\n");
        return nullptr;
    }
    const size_t count = ecat_count("get_int_ecat", n, width, height);
    if (count == 0)
        return nullptr;
    auto* out =
        static_cast<int*>(vx_calloc(count, sizeof(int), exit_code::out_of_memory, kNoVolume));
    for (size_t i = 0; i < count; ++i) {
        // A factor below 1/65536 pushes shorts beyond the int range; those clamp.
        const double v = std::floor(data[count - 1 - i] / static_cast<double>(factor) + 0.5);
        out[i] = v >= 2147483647.0 ? 2147483647
                                   : (v <= -2147483648.0 ? -2147483647 - 1 : static_cast<int>(v));
    }
    return out;
}

double lin_reg(int n, const float* x, const float* y)
{
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int i = 0; i < n; ++i) {
        sx += x[i];
        sy += y[i];
        sxx += static_cast<double>(x[i]) * x[i];
        syy += static_cast<double>(y[i]) * y[i];
        sxy += static_cast<double>(x[i]) * y[i];
    }
    const double vx = n * sxx - sx * sx;
    const double vy = n * syy - sy * sy;
    const double cov = n * sxy - sx * sy;
    const double slope = vx > 0 ? cov / vx : 0;
    const double r = vx > 0 && vy > 0 ? cov / std::sqrt(vx * vy) : 0;
    vx_report(" r = %10.4f", r);
    return n > 0 ? slope + (sy - sx * slope) / n : 0;
}
