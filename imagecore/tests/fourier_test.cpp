#include <cmath>
#include <cstdlib>
#include <vector>

#include "imagecore/fourier.h"
#include "imagecore/handles.h"
#include "imagecore/image.h"
#include "testsupport/vx_test.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The transform by its definition, for comparison.
void naive_dft(const std::vector<double>& re, const std::vector<double>& im, int sign,
               std::vector<double>& out_re, std::vector<double>& out_im)
{
    const size_t n = re.size();
    out_re.assign(n, 0.0);
    out_im.assign(n, 0.0);
    for (size_t k = 0; k < n; ++k)
        for (size_t j = 0; j < n; ++j) {
            const double a = sign * 2.0 * kPi * static_cast<double>(j * k) / static_cast<double>(n);
            out_re[k] += re[j] * std::cos(a) - im[j] * std::sin(a);
            out_im[k] += re[j] * std::sin(a) + im[j] * std::cos(a);
        }
}

std::vector<double> ramp(size_t n, double a, double b)
{
    std::vector<double> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = std::sin(a * static_cast<double>(i)) + b * static_cast<double>(i % 5);
    return v;
}

}  // namespace

TEST(FftDouble, KnownVectorsAndInverse)
{
    const double ones[4] = {1, 1, 1, 1};
    double re[4], im[4];
    fft_double(4, 0, ones, nullptr, re, im);
    const double dc[4] = {4, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(re[i], dc[i], 1e-12);
        EXPECT_NEAR(im[i], 0.0, 1e-12);
    }
    double back_re[4], back_im[4];
    fft_double(4, 1, dc, nullptr, back_re, back_im);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(back_re[i], 1.0, 1e-12);
        EXPECT_NEAR(back_im[i], 0.0, 1e-12);
    }

    // e^(2 pi i j / 8) has all its energy at frequency 1.
    double wave_re[8], wave_im[8];
    for (int j = 0; j < 8; ++j) {
        wave_re[j] = std::cos(2 * kPi * j / 8);
        wave_im[j] = std::sin(2 * kPi * j / 8);
    }
    double spec_re[8], spec_im[8];
    fft_double(8, 0, wave_re, wave_im, spec_re, spec_im);
    for (int k = 0; k < 8; ++k) {
        EXPECT_NEAR(spec_re[k], k == 1 ? 8.0 : 0.0, 1e-12) << k;
        EXPECT_NEAR(spec_im[k], 0.0, 1e-12) << k;
    }
}

TEST(FftDouble, MatchesTheDefinitionBothWays)
{
    for (unsigned n : {2u, 16u, 64u}) {
        const std::vector<double> re = ramp(n, 0.7, 0.3);
        const std::vector<double> im = ramp(n, 1.3, -0.2);
        std::vector<double> out_re(n), out_im(n), want_re, want_im;
        fft_double(n, 0, re.data(), im.data(), out_re.data(), out_im.data());
        naive_dft(re, im, -1, want_re, want_im);
        for (unsigned k = 0; k < n; ++k) {
            EXPECT_NEAR(out_re[k], want_re[k], 1e-9) << n << " " << k;
            EXPECT_NEAR(out_im[k], want_im[k], 1e-9) << n << " " << k;
        }
        std::vector<double> back_re(n), back_im(n);
        fft_double(n, 1, out_re.data(), out_im.data(), back_re.data(), back_im.data());
        for (unsigned k = 0; k < n; ++k) {
            EXPECT_NEAR(back_re[k], re[k], 1e-9);
            EXPECT_NEAR(back_im[k], im[k], 1e-9);
        }
    }
}

TEST(FftDouble, RefusesBadCountsAndMissingArrays)
{
    double in[8] = {0};
    double re[8], im[8];
    EXPECT_VX_FATAL(fft_double(6, 0, in, nullptr, re, im), 1,
                    "Error in fft\\(\\):  NumSamples=6 is not power of two");
    EXPECT_VX_FATAL(fft_double(1, 0, in, nullptr, re, im), 1, "NumSamples=1 is not power of two");
    EXPECT_VX_FATAL(fft_double(8, 0, nullptr, nullptr, re, im), 1,
                    "Error in fft_double\\(\\):  RealIn == NULL");
    EXPECT_VX_FATAL(fft_double(8, 0, in, nullptr, re, nullptr), 1, "ImagOut == NULL");
    EXPECT_VX_FATAL(NumberOfBitsNeeded(1), 1,
                    ">>> Error in fftmisc: argument 1 to NumberOfBitsNeeded is too small.");
}

TEST(FftDouble, FatalMessagesGoToStandardError)
{
    double in[8] = {0};
    double re[8], im[8];
    EXPECT_EXIT(fft_double(12, 0, in, nullptr, re, im), ::testing::ExitedWithCode(1),
                "NumSamples=12 is not power of two");
}

TEST(FftHelpers, BitsAndFrequencies)
{
    EXPECT_EQ(IsPowerOfTwo(0), 0);
    EXPECT_EQ(IsPowerOfTwo(1), 0);
    EXPECT_EQ(IsPowerOfTwo(2), 1);
    EXPECT_EQ(IsPowerOfTwo(1024), 1);
    EXPECT_EQ(IsPowerOfTwo(1536), 0);
    EXPECT_EQ(IsPowerOfTwo(0x80000000u), 1);
    EXPECT_EQ(NumberOfBitsNeeded(2), 1u);
    EXPECT_EQ(NumberOfBitsNeeded(1024), 10u);
    EXPECT_EQ(ReverseBits(1, 3), 4u);
    EXPECT_EQ(ReverseBits(6, 3), 3u);
    EXPECT_EQ(ReverseBits(0xF1, 4), 8u);
    EXPECT_DOUBLE_EQ(Index_to_frequency(8, 6), -0.25);
    EXPECT_DOUBLE_EQ(Index_to_frequency(8, 4), 0.5);
    EXPECT_DOUBLE_EQ(Index_to_frequency(8, 1), 0.125);
    EXPECT_DOUBLE_EQ(Index_to_frequency(8, 8), 0.0);
    double x = 1;
    EXPECT_EQ(CheckPointer(&x, "p"), &x);
    EXPECT_VX_FATAL(CheckPointer(nullptr, "RealOut"), 1, "RealOut == NULL");
}

TEST(FftInPlace, ForwardScalesAndReverseRestores)
{
    const std::vector<double> re0 = ramp(32, 0.4, 1.0);
    const std::vector<double> im0 = ramp(32, 2.1, 0.0);
    std::vector<double> re = re0, im = im0, want_re, want_im;
    EXPECT_EQ(FFT(1, 5, re.data(), im.data()), 5);
    naive_dft(re0, im0, -1, want_re, want_im);
    for (size_t k = 0; k < 32; ++k) {
        EXPECT_NEAR(re[k], want_re[k] / 32, 1e-12);
        EXPECT_NEAR(im[k], want_im[k] / 32, 1e-12);
    }
    EXPECT_EQ(FFT(-1, 5, re.data(), im.data()), 5);
    for (size_t k = 0; k < 32; ++k) {
        EXPECT_NEAR(re[k], re0[k], 1e-12);
        EXPECT_NEAR(im[k], im0[k], 1e-12);
    }
    EXPECT_EQ(FFT(1, -1, re.data(), im.data()), -1);
}

TEST(Fft2D, RefusesSizesThatAreNoPowerOfTwo)
{
    EXPECT_VX_FATAL(FFT2D(nullptr, 6, 4, 1), 10,
                    "FFT2D: X limit = 6 is not a power of 2. Cannot do fft");
    EXPECT_VX_FATAL(FFT2D(nullptr, 4, 3, 1), 10,
                    "FFT2D: Y limit = 3 is not a power of 2. Cannot do fft");
    const image_handle odd(create_image(4, 6, 1));
    image *re = nullptr, *im = nullptr;
    EXPECT_VX_FATAL(ForwardFFT(odd.get(), &re, &im), 10, "Y limit = 6");
}

TEST(ImageFft, FrequencyZeroInTheCentreAndRoundTrip)
{
    const int w = 8, h = 4;
    image* grey = create_image(w, h, 0);
    for (int i = 0; i < w * h; ++i)
        grey->pixels[i] = (i * 37) % 11;
    double mean = 0;
    for (int i = 0; i < w * h; ++i)
        mean += grey->pixels[i];
    mean /= w * h;

    image *re = nullptr, *im = nullptr;
    ForwardFFT(grey, &re, &im);
    ASSERT_NE(re, nullptr);
    EXPECT_EQ(re->width, w);
    EXPECT_EQ(re->height, h);
    EXPECT_NEAR(re->dpixels[(h / 2) * w + w / 2], mean, 1e-12);
    EXPECT_NEAR(im->dpixels[(h / 2) * w + w / 2], 0.0, 1e-12);

    // A column cosine of frequency 1 lands one column right and left of the centre.
    image* wave = create_double_image(w, h, 0.0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            wave->dpixels[y * w + x] = std::cos(2 * kPi * x / w);
    image *wre = nullptr, *wim = nullptr;
    ForwardFFT(wave, &wre, &wim);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool peak = y == h / 2 && (x == w / 2 + 1 || x == w / 2 - 1);
            EXPECT_NEAR(wre->dpixels[y * w + x], peak ? 0.5 : 0.0, 1e-12) << x << "," << y;
        }

    image* back = nullptr;
    BackwardFFT(re, im, &back);
    for (int i = 0; i < w * h; ++i)
        EXPECT_NEAR(back->dpixels[i], grey->pixels[i], 1e-9);

    image *mag = nullptr, *phase = nullptr, *re2 = nullptr, *im2 = nullptr;
    cart2polar(re, im, &mag, &phase);
    EXPECT_NEAR(mag->dpixels[(h / 2) * w + w / 2], mean, 1e-12);
    polar2cart(mag, phase, &re2, &im2);
    for (int i = 0; i < w * h; ++i) {
        EXPECT_GE(mag->dpixels[i], 0.0);
        EXPECT_NEAR(re2->dpixels[i], re->dpixels[i], 1e-12);
        EXPECT_NEAR(im2->dpixels[i], im->dpixels[i], 1e-12);
    }

    for (image* img : {grey, re, im, wave, wre, wim, back, mag, phase, re2, im2})
        delete_image(img);
}

TEST(ImageFft, BackwardChecksItsInputs)
{
    const image_handle a(create_double_image(4, 4, 0.0));
    const image_handle wide(create_double_image(8, 4, 0.0));
    const image_handle tall(create_double_image(4, 8, 0.0));
    image* out = nullptr;
    EXPECT_VX_FATAL(
        BackwardFFT(a.get(), nullptr, &out), 10,
        "BackwardFFT:: either real double vector\\(.*\\) = 0 \\|\\| imaginary double vector");
    EXPECT_VX_FATAL(BackwardFFT(a.get(), wide.get(), &out), 10,
                    "BackwardFFT:: Real width \\(4\\) !=  Imaginary width \\(8\\)");
    EXPECT_VX_FATAL(BackwardFFT(a.get(), tall.get(), &out), 10,
                    "BackwardFFT:: Real height \\(4\\) !=  Imaginary height \\(8\\)");
    EXPECT_VX_FATAL(cart2polar(a.get(), wide.get(), &out, &out), 10, "cart2polar:: Real width");
    EXPECT_VX_FATAL(polar2cart(nullptr, a.get(), &out, &out), 10, "polar2cart:: either magnitude");
}
