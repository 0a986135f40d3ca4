#include "analyse/fourier/fourier_coefficients.h"

#include <algorithm>
#include <vector>

#include "analyse/fourier/lFouriercontour.h"
#include "imagecore/fourier.h"

void fftcoeffs(const int* contour, int width, int length, int n, double* desc_re, double* desc_im,
               double* fft_re, double* fft_im, double* ordered_mag, double* ordered_phase)
{
    if (contour == nullptr || length < 1) {
        for (double* a : {desc_re, desc_im, fft_re, fft_im, ordered_mag, ordered_phase})
            std::fill(a, a + std::max(n, 0), 0.0);
        return;
    }
    // The work arrays exist even for a bad n, so that fft_double reports it.
    std::vector<double> re(std::max(n, 1)), im(std::max(n, 1));
    for (int k = 0; k < n; ++k) {
        const int p = contour[static_cast<long long>(k) * length / n];
        re[n - 1 - k] = width > 0 ? p % width : p;
        im[n - 1 - k] = width > 0 ? p / width : 0;
    }
    fft_double(static_cast<unsigned>(n), 0, re.data(), im.data(), fft_re, fft_im);

    std::copy(fft_re, fft_re + n, desc_re);
    std::copy(fft_im, fft_im + n, desc_im);
    inv_fourier_descriptors(n, desc_re, desc_im);
    low_2_high_freq_order(n, desc_re, desc_im, ordered_mag, ordered_phase);
    const double scale = 30.0 * n;
    for (int i = 0; i < n; ++i)
        desc_re[i] *= scale;
    polar_2_cart(n, desc_re, desc_im);
}

namespace {

// Zeroes the coefficients at the low-to-high positions from .. to - 1 of
// both sets. The position map needs a power of two; any other n is left to
// the transform to refuse.
void zero_positions(int n, long long from, long long to, double* a_re, double* a_im, double* b_re,
                    double* b_im)
{
    if (!IsPowerOfTwo(static_cast<unsigned>(n)))
        return;
    const int end = static_cast<int>(std::min<long long>(to, n));
    for (int i = static_cast<int>(std::clamp<long long>(from, 0, n)); i < end; ++i) {
        const int j = low_2_high_freq_order_idx_shift(i, n - 1);
        a_re[j] = a_im[j] = b_re[j] = b_im[j] = 0.0;
    }
}

void inverse_both(int n, const double* a_re, const double* a_im, const double* b_re,
                  const double* b_im, double* out_b_re, double* out_b_im, double* out_a_re,
                  double* out_a_im)
{
    fft_double(static_cast<unsigned>(n), 1, b_re, b_im, out_b_re, out_b_im);
    fft_double(static_cast<unsigned>(n), 1, a_re, a_im, out_a_re, out_a_im);
}

}  // namespace

void coeff_reduce(int n, int keep, double* a_re, double* a_im, double* b_re, double* b_im,
                  double* out_b_re, double* out_b_im, double* out_a_re, double* out_a_im)
{
    zero_positions(n, keep + 1LL, n, a_re, a_im, b_re, b_im);
    inverse_both(n, a_re, a_im, b_re, b_im, out_b_re, out_b_im, out_a_re, out_a_im);
}

void coeff_select(int n, int sel, double* a_re, double* a_im, double* b_re, double* b_im,
                  double* out_b_re, double* out_b_im, double* out_a_re, double* out_a_im)
{
    zero_positions(n, 2, sel, a_re, a_im, b_re, b_im);
    zero_positions(n, sel + 1LL, n, a_re, a_im, b_re, b_im);
    inverse_both(n, a_re, a_im, b_re, b_im, out_b_re, out_b_im, out_a_re, out_a_im);
}
