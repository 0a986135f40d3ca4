#include "imagecore/files/double_export.h"

#include <cmath>

#include "imagecore/fatal.h"
#include "imagecore/files/image_loader.h"
#include "imagecore/report.h"

namespace {

int effective_levels(int levels)
{
    return levels <= 0 || levels > 256 ? 256 : levels;
}

// Level of v between lo and hi, truncated; NaN and an empty range give 0.
int level_of(double v, double lo, double hi, int levels)
{
    if (!(hi > lo) || !(v > lo))
        return 0;
    const double t = (v - lo) / (hi - lo) * (levels - 1);
    return t >= levels - 1 ? levels - 1 : static_cast<int>(t);
}

int write_levels(const char* path, const image* levels_img, int levels)
{
    int palette[256];
    for (int i = 0; i < levels; ++i)
        palette[i] = i * 65793;
    return writePNGPaletted(path, levels_img, palette);
}

bool valid_size(const char* path, int width, int height)
{
    const long n = vx_pixel_count(width, height);
    if (n > 0)
        return true;
    vx_report("Cannot write double image %s of %d x %d pixels\n", path, width, height);
    return false;
}

// Maps the values (or the logarithms of the positive ones) onto the levels
// and writes them; values without a logarithm take level 0.
int write_mapped(const char* path, const double* values, int width, int height, int levels,
                 bool logarithmic)
{
    if (!valid_size(path, width, height))
        return 42;
    levels = effective_levels(levels);
    const long n = vx_pixel_count(width, height);
    auto mapped = [logarithmic](double v) { return logarithmic ? std::log(v) : v; };
    auto has_level = [logarithmic](double v) { return !logarithmic || v > 0; };
    double lo = values[0];
    double hi = values[0];
    double mapped_lo = HUGE_VAL;
    double mapped_hi = -HUGE_VAL;
    for (long i = 0; i < n; ++i) {
        lo = std::fmin(lo, values[i]);
        hi = std::fmax(hi, values[i]);
        if (has_level(values[i])) {
            mapped_lo = std::fmin(mapped_lo, mapped(values[i]));
            mapped_hi = std::fmax(mapped_hi, mapped(values[i]));
        }
    }
    if (mapped_lo > mapped_hi)
        mapped_lo = mapped_hi = 0;
    image* out = create_image(width, height, 0);
    int ilo = levels;
    int ihi = 0;
    for (long i = 0; i < n; ++i) {
        const int level =
            has_level(values[i]) ? level_of(mapped(values[i]), mapped_lo, mapped_hi, levels) : 0;
        out->pixels[i] = level;
        ilo = level < ilo ? level : ilo;
        ihi = level > ihi ? level : ihi;
    }
    if (logarithmic) {
        vx_report("\nlog Min %f, Max %f\n", mapped_lo, mapped_hi);
        vx_report("Write dMin %f, dMax %f\n", lo, hi);
        vx_report("Write iMin %d, iMax %d\n", ilo, ihi);
    }
    const int result = write_levels(path, out, levels);
    delete_image(out);
    return result;
}

int write_image_mapped(const char* path, const image* img, int levels, bool logarithmic)
{
    if (img->dpixels == nullptr) {
        vx_report("Image for %s holds no double pixels\n", path);
        return 42;
    }
    return write_mapped(path, img->dpixels, img->width, img->height, levels, logarithmic);
}

}  // namespace

int write_double_array_png(const char* path, const double* values, int width, int height,
                           int levels)
{
    return write_mapped(path, values, width, height, levels, false);
}

int write_double_image(const char* path, const image* img, int levels)
{
    return write_image_mapped(path, img, levels, false);
}

int write_double_log_array_png(const char* path, const double* values, int width, int height,
                               int levels)
{
    return write_mapped(path, values, width, height, levels, true);
}

int write_double_log_image(const char* path, const image* img, int levels)
{
    return write_image_mapped(path, img, levels, true);
}
