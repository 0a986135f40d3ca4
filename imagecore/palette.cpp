#include "imagecore/palette.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "imagecore/files/image_loader.h"
#include "imagecore/report.h"

namespace {

// The label colour bytes are computed in 64 bits: the products overflow int
// for large label counts, and the remainders keep the sign of C++ integer
// division, which stored label pictures were coloured with.
int64_t label_red(int64_t i)
{
    return (i % 3) * 127 + (i + 13) % 128;
}

int64_t label_green(int64_t i)
{
    return ((i + 3) * (i + 2)) % 128 + (i & 1) * 127;
}

int* alloc_palette(int n)
{
    if (n < 0 || n > INT_MAX - 256) {
        vx_report("Cannot alloc palette of %d colors\n", n);
        return nullptr;
    }
    auto* p = static_cast<int*>(std::calloc(static_cast<size_t>(n) + 256, sizeof(int)));
    if (p == nullptr)
        vx_report("Cannot alloc palette of %d colors\n", n);
    return p;
}

int pack(int64_t red, int64_t green, int64_t blue)
{
    return static_cast<int>(static_cast<uint32_t>(red + green * 256 + blue * 65536));
}

// The byte `shift` / 8 of a pixel as an unsigned value 0..255.
int pixel_byte(int pixel, int shift)
{
    return static_cast<int>((static_cast<uint32_t>(pixel) >> shift) & 255u);
}

}  // namespace

int* initGreyColorScrambledPalette(int n)
{
    int* p = alloc_palette(n);
    if (p == nullptr)
        return nullptr;
    for (int i = 0; i < 256; ++i)
        p[i] = i * 65793;
    for (int64_t i = 256; i < static_cast<int64_t>(n) + 256; ++i)
        p[i] = pack(label_red(i), label_green(i), ((i * i) & 127) + 127);
    return p;
}

int* initColorScrambledPalette(int n)
{
    int* p = alloc_palette(n);
    if (p == nullptr)
        return nullptr;
    for (int64_t i = 1; i <= static_cast<int64_t>(n) + 9; ++i)
        p[i] = pack(label_red(i), label_green(i), ((i - 256) * (i - 128)) % 128 + 127);
    return p;
}

void convertGreyEuclidean(image* img)
{
    if (img->kind != IMAGE_RGB)
        return;
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    for (size_t i = 0; i < n; ++i) {
        const int r = pixel_byte(img->pixels[i], 0);
        const int g = pixel_byte(img->pixels[i], 8);
        const int b = pixel_byte(img->pixels[i], 16);
        img->pixels[i] =
            r == g && g == b
                ? r
                : static_cast<int>(std::sqrt(static_cast<double>(r * r + g * g + b * b)) /
                                   443.40500673763256 * 256);
    }
    img->kind = IMAGE_GREY;
    update_image_struct(img);
}

void convertGreyNormalized(image* img)
{
    if (img->kind != IMAGE_RGB)
        return;
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    for (size_t i = 0; i < n; ++i)
        img->pixels[i] = (pixel_byte(img->pixels[i], 0) + pixel_byte(img->pixels[i], 8) +
                          pixel_byte(img->pixels[i], 16)) /
                         3;
    img->kind = IMAGE_GREY;
    update_image_struct(img);
}

void HSV2RGB(double* rgb, double hue, double saturation, double value)
{
    // fmod keeps a far-off hue from looping; the result equals repeated +-360.
    double h = std::fmod(hue, 360.0);
    if (h < 0)
        h += 360.0;
    double r, g, b;
    if (h < 120) {
        r = (120 - h) / 60;
        g = h / 60;
        b = 0;
    } else if (h < 240) {
        r = 0;
        g = (240 - h) / 60;
        b = (h - 120) / 60;
    } else {
        r = (h - 240) / 60;
        g = 0;
        b = (360 - h) / 60;
    }
    rgb[0] = value * (1 - saturation + saturation * std::fmin(r, 1.0));
    rgb[1] = value * (1 - saturation + saturation * std::fmin(g, 1.0));
    rgb[2] = value * (1 - saturation + saturation * std::fmin(b, 1.0));
}

void RGB2HSV(double* hsv, double red, double green, double blue)
{
    const double hi = std::fmax(red, std::fmax(green, blue));
    const double lo = std::fmin(red, std::fmin(green, blue));
    const double delta = hi - lo;
    double hue = 0;
    if (delta > 0) {
        if (hi == red)
            hue = 60 * (green - blue) / delta;
        else if (hi == green)
            hue = 60 * (2 + (blue - red) / delta);
        else
            hue = 60 * (4 + (red - green) / delta);
        if (hue < 0)
            hue += 360;
    }
    hsv[0] = hue;
    hsv[1] = hi > 0 ? delta / hi : 0;
    hsv[2] = hi;
}

int rgb2int(double red, double green, double blue)
{
    return static_cast<int>(red * 255) + static_cast<int>(green * 255) * 256 +
           static_cast<int>(blue * 255) * 65536;
}

void splitRGBAlpha2Bands(const image* packed, image** r, image** g, image** b, image** a)
{
    image** bands[4] = {r, g, b, a};
    const size_t n = static_cast<size_t>(packed->width) * static_cast<size_t>(packed->height);
    for (int k = 0; k < 4; ++k) {
        image* band = create_image(packed->width, packed->height, 0);
        for (size_t i = 0; i < n; ++i)
            band->pixels[i] = pixel_byte(packed->pixels[i], 8 * k);
        update_image_struct(band);
        *bands[k] = band;
    }
}

void mergeRGBAlpha2Bands(const image* r, const image* g, const image* b, const image* a,
                         image** out)
{
    *out = nullptr;
    for (const image* band : {g, b, a})
        if (band->width != r->width || band->height != r->height) {
            vx_report("mergeRGBAlpha2Bands: bands of different size\n");
            return;
        }
    image* img = create_image(r->width, r->height, 0);
    const size_t n = static_cast<size_t>(r->width) * static_cast<size_t>(r->height);
    for (size_t i = 0; i < n; ++i) {
        const uint32_t v = (static_cast<uint32_t>(r->pixels[i]) & 255u) +
                           ((static_cast<uint32_t>(g->pixels[i]) * 256u) & 65535u) +
                           (static_cast<uint32_t>(b->pixels[i]) & 255u) * 65536u +
                           static_cast<uint32_t>(a->pixels[i]) * 16777216u;
        img->pixels[i] = static_cast<int>(v);
    }
    img->kind = IMAGE_RGB;
    update_image_struct(img);
    *out = img;
}

int exportBands(const char* base, const image* r, const image* g, const image* b, const image* a)
{
    const image* bands[4] = {r, g, b, a};
    const char* names[4] = {".RedBand.png", ".GreenBand.png", ".BlueBand.png", ".AlphaBand.png"};
    int result = 0;
    for (int k = 0; k < 4; ++k)
        if (writePNGgrey((std::string(base) + names[k]).c_str(), bands[k]) != 0)
            result = 42;
    return result;
}
