#include "analyse/fourier/lFouriercontour.h"

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "analyse/detail/c_locale_print.h"
#include "analyse/detail/trunc_int.h"
#include "imagecore/fourier.h"
#include "imagecore/image.h"
#include "imagecore/report.h"

int pow_of_2_samples(int n)
{
    if (n < 1)
        return 1;
    unsigned bits = 0;
    for (unsigned v = static_cast<unsigned>(n); v != 0; v >>= 1)
        ++bits;
    // A bit length of 31 gives 2^31, which wraps to a negative int.
    const int samples = static_cast<int>(1u << bits);
    if (samples < n)
        vx_report("Fatal binary error in pow of 2 samples Clen = %d, Samples = %d\n", n, samples);
    return samples;
}

double hypotenuse(double a, double b)
{
    return std::sqrt(a * a + b * b);
}

double euclidian_similarity(const double* a, const double* b, int n)
{
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += (a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(sum);
}

void inv_fourier_descriptors(int n, double* re, double* im)
{
    if (n < 2)
        return;
    // Which of frequencies 1 and -1 carries the shape depends on the way the
    // contour runs (the tracer and the samplers each reverse it). Entries k
    // and n - k swapped are the spectrum of the same contour run the other
    // way, so the magnitudes are always taken relative to the stronger one.
    if (hypotenuse(re[1], im[1]) > hypotenuse(re[n - 1], im[n - 1]))
        for (int k = 1; k < n / 2; ++k) {
            std::swap(re[k], re[n - k]);
            std::swap(im[k], im[n - k]);
        }
    const double a1 = std::atan2(im[1], re[1]);
    const double am = std::atan2(im[n - 1], re[n - 1]);
    const double r = hypotenuse(re[n - 1], im[n - 1]);
    for (int k = 0; k < n; ++k) {
        const double s = k <= (n - 1) / 2 ? k : k - n;
        const double magnitude = hypotenuse(re[k], im[k]) / r;
        const double phase = std::atan2(im[k], re[k]) - (am + a1) / 2 + s * (am - a1) / 2;
        re[k] = magnitude;
        im[k] = phase;
    }
    re[0] = 0.0;
    im[0] = 0.0;
}

void polar_2_cart(int n, double* magnitude, double* phase)
{
    for (int k = 0; k < n; ++k) {
        const double m = trunc_to_int(magnitude[k]);
        magnitude[k] = std::cos(phase[k]) * m;
        phase[k] = std::sin(phase[k]) * m;
    }
}

int low_2_high_freq_order_idx(int n, int i)
{
    return i % 2 == 0 ? i / 2 : n - 1 - (i - 1) / 2;
}

int high_2_low_freq_order_idx(int n, int i)
{
    return i % 2 == 0 ? n / 2 - i / 2 - 1 : n / 2 + (i - 1) / 2;
}

int low_2_high_freq_order_idx_shift(int i, int mask)
{
    return i % 2 != 0 ? (i >> 1) ^ mask : i >> 1;
}

int restrict_rotate_right(int i, int bits)
{
    const int top = bits >= 1 && bits <= 31 ? static_cast<int>(1u << (bits - 1)) : 0;
    const int hlp = (i & 1) != 0 ? top : 0;
    const int result = (i >> 1) | hlp;
    vx_report("idx %d, new %d, Hlp %d, numbits %d\n", i, result, hlp, bits);
    return result;
}

namespace {

void reorder(int n, int (*index)(int, int), const double* re_in, const double* im_in,
             double* re_out, double* im_out)
{
    for (int i = 0; i < n; ++i) {
        const int j = index(n, i);
        re_out[i] = re_in[j];
        im_out[i] = im_in[j];
    }
}

// Column and row of the samples; the samples are stored in reverse order.
// A width below 1 leaves every position in row 0.
void sample_contour(const int* contour, long long length, int n, int width, long long offset,
                    std::vector<double>& x, std::vector<double>& y)
{
    for (int k = 0; k < n; ++k) {
        const int p = contour[(offset + k * length) / n];
        x[n - 1 - k] = width > 0 ? p % width : p;
        y[n - 1 - k] = width > 0 ? p / width : 0;
    }
}

struct spectrum {
    std::vector<double> re;
    std::vector<double> im;
    explicit spectrum(int n) : re(n), im(n) {}
};

spectrum transform(int n, int inverse, const std::vector<double>& re, const std::vector<double>& im)
{
    spectrum out(n);
    fft_double(static_cast<unsigned>(n), inverse, re.data(), im.data(), out.re.data(),
               out.im.data());
    return out;
}

}  // namespace

void low_2_high_freq_order(int n, const double* re_in, const double* im_in, double* re_out,
                           double* im_out)
{
    reorder(n, low_2_high_freq_order_idx, re_in, im_in, re_out, im_out);
}

void high_2_low_freq_order(int n, const double* re_in, const double* im_in, double* re_out,
                           double* im_out)
{
    reorder(n, high_2_low_freq_order_idx, re_in, im_in, re_out, im_out);
}

void get_fourier_descriptor(const int* contour, int length, int count, double* out, int width)
{
    if (count < 1)
        return;
    const int n = pow_of_2_samples(length < count ? count : length);
    if (contour == nullptr || length < 2 || n <= count) {
        for (int i = 0; i < count; ++i)
            out[i] = 0.0;
        return;
    }
    std::vector<double> x(n), y(n);
    sample_contour(contour, length, n, width, 1, x, y);
    spectrum s = transform(n, 0, x, y);
    inv_fourier_descriptors(n, s.re.data(), s.im.data());
    for (int i = 0; i < count; ++i)
        out[i] = s.re[low_2_high_freq_order_idx(n, i)];
}

void fourier_descriptors(const int* contour, int length, int width, int n)
{
    if (contour == nullptr || length < 1 || n < 2)
        return;
    std::vector<double> x(n), y(n);
    sample_contour(contour, length, n, width, 0, x, y);
    transform(n, 0, x, y);
}

namespace {

void set_pixel(image* img, long long position, int value)
{
    if (position >= 0 && position < static_cast<long long>(img->width) * img->height)
        img->pixels[position] = value;
}

}  // namespace

void fftbounds(image* img, const int* contour, int length, int n, int keep, FILE* report)
{
    if (contour == nullptr || length < 1 || n < 2 || img->pixels == nullptr)
        return;
    std::vector<double> x(n), y(n);
    sample_contour(contour, length, n, img->width, 0, x, y);
    for (int k = 0; k < n; ++k)
        set_pixel(img, contour[static_cast<long long>(k) * length / n], 5);

    spectrum raw = transform(n, 0, x, y);
    spectrum norm = raw;
    inv_fourier_descriptors(n, norm.re.data(), norm.im.data());

    if (report != nullptr) {
        std::fprintf(report, "Magnitude      Phase\n");
        for (int k = 0; k < n; ++k) {
            const int j = low_2_high_freq_order_idx(n, k);
            c_fprintf(report, " %d: %f, %f --- %f, %f\n", k, raw.re[k], raw.im[k], raw.re[j],
                      raw.im[j]);
        }
        for (int k = 0; k < keep && k < n; ++k) {
            const int j = low_2_high_freq_order_idx(n, k);
            c_fprintf(report, "%f, %f\n", norm.re[j], norm.im[j]);
        }
    }
    for (int k = keep + 1 < 0 ? 0 : keep + 1; k < n; ++k) {
        const int j = low_2_high_freq_order_idx(n, k);
        norm.re[j] = norm.im[j] = raw.re[j] = raw.im[j] = 0.0;
    }

    polar_2_cart(n, norm.re.data(), norm.im.data());
    const spectrum centred = transform(n, 1, norm.re, norm.im);
    const long long w = img->width;
    for (int k = 0; k < n; ++k)
        set_pixel(img,
                  (trunc_to_int(centred.im[k]) + img->height / 2LL) * w +
                      trunc_to_int(centred.re[k]) + w / 2,
                  10);
    const spectrum plain = transform(n, 1, raw.re, raw.im);
    for (int k = 0; k < n; ++k)
        set_pixel(img, trunc_to_int(plain.im[k]) * w + trunc_to_int(plain.re[k]), -10);
}
