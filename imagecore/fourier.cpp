#include "imagecore/fourier.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "imagecore/fatal.h"
#include "imagecore/image.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Names used in the messages of the image-pair checks.
struct pair_names {
    const char* function;
    const char* first;  // as the pointer message spells it
    const char* second;
    const char* first_cap;  // as the size messages spell it
    const char* second_cap;
};

constexpr pair_names kBackward = {"BackwardFFT", "real", "imaginary", "Real", "Imaginary"};
constexpr pair_names kCart = {"cart2polar", "real", "imaginary", "Real", "Imaginary"};
constexpr pair_names kPolar = {"polar2cart", "magnitude", "phase", "Magnitude", "Phase"};

// Both images must exist with double pixels and share their size.
void check_double_pair(const image* a, const image* b, const pair_names& n)
{
    const double* da = a != nullptr ? a->dpixels : nullptr;
    const double* db = b != nullptr ? b->dpixels : nullptr;
    if (da == nullptr || db == nullptr)
        vx_fatal(exit_code::fft2d_bad_argument,
                 "%s:: either %s double vector(%p) = 0 || %s double vector(%p) = 0\n", n.function,
                 n.first, static_cast<const void*>(da), n.second, static_cast<const void*>(db));
    if (a->width != b->width)
        vx_fatal(exit_code::fft2d_bad_argument, "%s:: %s width (%d) !=  %s width (%d)\n",
                 n.function, n.first_cap, a->width, n.second_cap, b->width);
    if (a->height != b->height)
        vx_fatal(exit_code::fft2d_bad_argument, "%s:: %s height (%d) !=  %s height (%d)\n",
                 n.function, n.first_cap, a->height, n.second_cap, b->height);
}

// Two new double images computed pixel by pixel from a checked pair.
template <typename PixelFn>
void map_double_pair(const image* a, const image* b, const pair_names& names, image** out_a,
                     image** out_b, PixelFn fn)
{
    check_double_pair(a, b, names);
    image* ra = create_double_image(a->width, a->height, 0.0);
    image* rb = create_double_image(a->width, a->height, 0.0);
    const size_t n = static_cast<size_t>(a->width) * static_cast<size_t>(a->height);
    for (size_t i = 0; i < n; ++i)
        fn(a->dpixels[i], b->dpixels[i], ra->dpixels[i], rb->dpixels[i]);
    *out_a = ra;
    *out_b = rb;
}

// A width x height spectrum as an array of column pointers into one block.
struct spectrum {
    complex** columns = nullptr;
    complex* block = nullptr;

    // Sizes must have passed check_fft_sizes.
    spectrum(int width, int height)
    {
        char msg[96];
        std::snprintf(msg, sizeof msg, "FFT2D: Cannot alloc real imag buffers of size %ld \n",
                      static_cast<long>(width) * height);
        columns = static_cast<complex**>(vx_calloc(static_cast<size_t>(width), sizeof(complex*),
                                                   exit_code::fft2d_out_of_memory, msg));
        block = static_cast<complex*>(
            vx_calloc(static_cast<size_t>(width) * static_cast<size_t>(height), sizeof(complex),
                      exit_code::fft2d_out_of_memory, msg));
        for (int x = 0; x < width; ++x)
            columns[x] = block + static_cast<size_t>(x) * static_cast<size_t>(height);
    }
    ~spectrum()
    {
        std::free(block);
        std::free(columns);
    }
    spectrum(const spectrum&) = delete;
    spectrum& operator=(const spectrum&) = delete;
};

// Exchanges each half of the columns with the other, then each half of every
// column's rows; for even sizes the swap is its own inverse.
void swap_quadrants(complex** columns, int width, int height)
{
    const int hw = width / 2;
    const int hh = height / 2;
    for (int x = 0; x < hw; ++x)
        std::swap(columns[x], columns[x + hw]);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < hh; ++y)
            std::swap(columns[x][y], columns[x][y + hh]);
}

// The radix-2 step: (a, b) := (a + t b, a - t b) with the twiddle t = (tr, ti).
inline void butterfly(double* re, double* im, size_t a, size_t b, double tr, double ti)
{
    const double xr = tr * re[b] - ti * im[b];
    const double xi = tr * im[b] + ti * re[b];
    re[b] = re[a] - xr;
    im[b] = im[a] - xi;
    re[a] += xr;
    im[a] += xi;
}

int log2_of(unsigned n)
{
    int m = 0;
    while ((n >>= 1) != 0)
        ++m;
    return m;
}

void check_fft_sizes(int nx, int ny)
{
    if (nx < 0 || !IsPowerOfTwo(static_cast<unsigned>(nx)))
        vx_fatal_stderr(exit_code::fft2d_bad_argument,
                        "FFT2D: X limit = %d is not a power of 2. Cannot do fft \n", nx);
    if (ny < 0 || !IsPowerOfTwo(static_cast<unsigned>(ny)))
        vx_fatal_stderr(exit_code::fft2d_bad_argument,
                        "FFT2D: Y limit = %d is not a power of 2. Cannot do fft \n", ny);
}

}  // namespace

int IsPowerOfTwo(unsigned n)
{
    return n >= 2 && (n & (n - 1)) == 0 ? 1 : 0;
}

unsigned NumberOfBitsNeeded(unsigned n)
{
    if (n < 2)
        vx_fatal_stderr(exit_code::fft_bad_argument,
                        ">>> Error in fftmisc: argument %d to NumberOfBitsNeeded is too small.\n",
                        static_cast<int>(n));
    return static_cast<unsigned>(log2_of(n));
}

unsigned ReverseBits(unsigned index, unsigned bits)
{
    unsigned rev = 0;
    for (unsigned i = 0; i < bits; ++i) {
        rev = (rev << 1) | (index & 1u);
        index >>= 1;
    }
    return rev;
}

double Index_to_frequency(unsigned n, unsigned index)
{
    if (index >= n)
        return 0.0;
    if (index <= n / 2)
        return static_cast<double>(index) / n;
    return -static_cast<double>(n - index) / n;
}

double* CheckPointer(double* p, const char* name)
{
    if (p == nullptr)
        vx_fatal_stderr(exit_code::fft_bad_argument, "Error in fft_double():  %s == NULL\n", name);
    return p;
}

void fft_double(unsigned n, int inverse, const double* real_in, const double* imag_in,
                double* real_out, double* imag_out)
{
    if (!IsPowerOfTwo(n))
        vx_fatal_stderr(exit_code::fft_bad_argument,
                        "Error in fft():  NumSamples=%u is not power of two\n", n);
    if (real_in == nullptr)
        vx_fatal_stderr(exit_code::fft_bad_argument, "Error in fft_double():  %s == NULL\n",
                        "RealIn");
    CheckPointer(real_out, "RealOut");
    CheckPointer(imag_out, "ImagOut");

    const unsigned bits = NumberOfBitsNeeded(n);
    for (unsigned i = 0; i < n; ++i) {
        const unsigned j = ReverseBits(i, bits);
        real_out[j] = real_in[i];
        imag_out[j] = imag_in != nullptr ? imag_in[i] : 0.0;
    }

    const double angle_numerator = inverse ? -2.0 * kPi : 2.0 * kPi;
    unsigned block_end = 1;
    for (unsigned block = 2; block <= n; block <<= 1) {
        // Twiddle factors e^(-i m d) come from the recurrence
        // t(a - d) = 2 cos(d) t(a) - t(a + d), started from the angles 2d and d.
        const double delta = angle_numerator / block;
        const double sm2 = std::sin(2.0 * delta);
        const double sm1 = std::sin(delta);
        const double cm2 = std::cos(2.0 * delta);
        const double cm1 = std::cos(delta);
        const double w = 2.0 * cm1;
        for (unsigned i = 0; i < n; i += block) {
            double ar2 = cm2, ar1 = cm1, ai2 = sm2, ai1 = sm1;
            for (unsigned j = i; j < i + block_end; ++j) {
                const double ar0 = w * ar1 - ar2;
                ar2 = ar1;
                ar1 = ar0;
                const double ai0 = w * ai1 - ai2;
                ai2 = ai1;
                ai1 = ai0;
                butterfly(real_out, imag_out, j, j + block_end, ar0, ai0);
            }
        }
        block_end = block;
    }

    if (inverse) {
        const double scale = 1.0 / n;
        for (unsigned i = 0; i < n; ++i) {
            real_out[i] *= scale;
            imag_out[i] *= scale;
        }
    }
}

int FFT(int direction, int m, double* real, double* imag)
{
    if (m < 0 || m > 30)
        return -1;
    const long nn = 1L << m;

    // Bit-reversal permutation by index swapping.
    long j = 0;
    for (long i = 0; i < nn - 1; ++i) {
        if (i < j) {
            std::swap(real[i], real[j]);
            std::swap(imag[i], imag[j]);
        }
        long k = nn >> 1;
        while (k <= j) {
            j -= k;
            k >>= 1;
        }
        j += k;
    }

    double c1 = -1.0;
    double c2 = 0.0;
    long l2 = 1;
    for (int l = 0; l < m; ++l) {
        const long l1 = l2;
        l2 <<= 1;
        double u1 = 1.0;
        double u2 = 0.0;
        for (long s = 0; s < l1; ++s) {
            for (long i = s; i < nn; i += l2)
                butterfly(real, imag, static_cast<size_t>(i), static_cast<size_t>(i + l1), u1, u2);
            const double z = u1 * c1 - u2 * c2;
            u2 = u1 * c2 + u2 * c1;
            u1 = z;
        }
        c2 = std::sqrt((1.0 - c1) / 2.0);
        if (direction == 1)
            c2 = -c2;
        c1 = std::sqrt((1.0 + c1) / 2.0);
    }

    if (direction == 1) {
        const double scale = 1.0 / static_cast<double>(nn);
        for (long i = 0; i < nn; ++i) {
            real[i] *= scale;
            imag[i] *= scale;
        }
    }
    return m;
}

int FFT2D(complex** columns, int nx, int ny, int direction)
{
    check_fft_sizes(nx, ny);

    const int longest = nx > ny ? nx : ny;
    char msg[96];
    std::snprintf(msg, sizeof msg, "FFT2D: Cannot alloc real imag buffers of size %d \n", longest);
    auto* re = static_cast<double*>(vx_calloc(static_cast<size_t>(longest), sizeof(double),
                                              exit_code::fft2d_out_of_memory, msg));
    auto* im = static_cast<double*>(vx_calloc(static_cast<size_t>(longest), sizeof(double),
                                              exit_code::fft2d_out_of_memory, msg));

    const int mx = log2_of(static_cast<unsigned>(nx));
    for (int y = 0; y < ny; ++y) {
        for (int x = 0; x < nx; ++x) {
            re[x] = columns[x][y].real;
            im[x] = columns[x][y].imag;
        }
        FFT(direction, mx, re, im);
        for (int x = 0; x < nx; ++x)
            columns[x][y] = {re[x], im[x]};
    }

    const int my = log2_of(static_cast<unsigned>(ny));
    for (int x = 0; x < nx; ++x) {
        complex* col = columns[x];
        for (int y = 0; y < ny; ++y) {
            re[y] = col[y].real;
            im[y] = col[y].imag;
        }
        FFT(direction, my, re, im);
        for (int y = 0; y < ny; ++y)
            col[y] = {re[y], im[y]};
    }

    std::free(re);
    std::free(im);
    return 1;
}

void ForwardFFT(const image* grey, image** real, image** imag)
{
    if (grey == nullptr || (grey->pixels == nullptr && grey->dpixels == nullptr))
        vx_fatal(exit_code::fft2d_bad_argument, "ForwardFFT:: no grey image (%p) to transform\n",
                 static_cast<const void*>(grey));
    const int w = grey->width;
    const int h = grey->height;
    check_fft_sizes(w, h);
    spectrum s(w, h);
    for (int y = 0; y < h; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x)
            s.columns[x][y].real =
                grey->pixels != nullptr ? grey->pixels[row + x] : grey->dpixels[row + x];
    }
    FFT2D(s.columns, w, h, 1);
    swap_quadrants(s.columns, w, h);

    image* re = create_double_image(w, h, 0.0);
    image* im = create_double_image(w, h, 0.0);
    for (int y = 0; y < h; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x) {
            re->dpixels[row + x] = s.columns[x][y].real;
            im->dpixels[row + x] = s.columns[x][y].imag;
        }
    }
    *real = re;
    *imag = im;
}

void BackwardFFT(const image* real, const image* imag, image** out)
{
    check_double_pair(real, imag, kBackward);
    const int w = real->width;
    const int h = real->height;
    check_fft_sizes(w, h);
    spectrum s(w, h);
    for (int y = 0; y < h; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x)
            s.columns[x][y] = {real->dpixels[row + x], imag->dpixels[row + x]};
    }
    swap_quadrants(s.columns, w, h);
    FFT2D(s.columns, w, h, -1);

    image* result = create_double_image(w, h, 0.0);
    for (int y = 0; y < h; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x)
            result->dpixels[row + x] = s.columns[x][y].real;
    }
    *out = result;
}

void cart2polar(const image* real, const image* imag, image** magnitude, image** phase)
{
    map_double_pair(real, imag, kCart, magnitude, phase,
                    [](double re, double im, double& m, double& p) {
                        m = std::sqrt(re * re + im * im);
                        p = std::atan2(im, re);
                    });
}

void polar2cart(const image* magnitude, const image* phase, image** real, image** imag)
{
    map_double_pair(magnitude, phase, kPolar, real, imag,
                    [](double m, double p, double& re, double& im) {
                        re = m * std::cos(p);
                        im = m * std::sin(p);
                    });
}
