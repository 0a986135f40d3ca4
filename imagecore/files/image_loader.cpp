#include "imagecore/files/image_loader.h"

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>

#include "imagecore/fatal.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

// libpng reports errors by longjmp. Every function that sets a jump point
// below holds only plain pointers and values whose owners live in the caller,
// so a jump skips no destructor and leaks nothing.

namespace {

void ignore_warning(png_structp, png_const_charp)
{}

// Deflate shrinks data by at most about 1032:1, so a stream whose rows could
// not fit in this many times the remaining file bytes is damaged; refusing it
// keeps a tiny file from claiming a huge allocation.
constexpr uint64_t kMaxInflation = 1100;
constexpr uint64_t kInflationSlack = 1 << 16;

struct png_layout {
    uint32_t width;
    uint32_t height;
    uint64_t stored_bytes;  // filtered rows of a non-interlaced stream
};

bool read_png_header(png_structp png, png_infop info, FILE* f, png_layout* layout)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, f);
    png_set_sig_bytes(png, 8);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Fuzzed inputs rarely keep their checksums; decoding them anyway lets the
    // fuzzer reach the pixel data.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
    png_read_info(png, info);
    const int colour = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    layout->width = png_get_image_width(png, info);
    layout->height = png_get_image_height(png, info);
    const uint64_t bits = static_cast<uint64_t>(layout->width) * static_cast<unsigned>(depth) *
                          png_get_channels(png, info);
    layout->stored_bytes = static_cast<uint64_t>(layout->height) * ((bits + 7) / 8 + 1);

    if (colour == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colour == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (depth == 16)
        png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool read_png_rows(png_structp png, png_infop end_info, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, end_info);
    return true;
}

// Copies the decoded 8-bit rows into the image: first sample of grey images,
// packed R + G*256 + B*65536 of colour images.
void unpack_rows(png_bytepp rows, int channels, image* img)
{
    const bool colour = channels >= 3;
    for (int y = 0; y < img->height; ++y) {
        const png_byte* in = rows[y];
        int* out = img->pixels + static_cast<size_t>(y) * static_cast<size_t>(img->width);
        for (int x = 0; x < img->width; ++x, in += channels)
            out[x] = colour ? in[0] | in[1] << 8 | in[2] << 16 : in[0];
    }
}

int read_png(png_structp png, png_infop info, png_infop end_info, FILE* f, const char* name,
             image** out)
{
    const long remaining = vx_remaining_bytes(f);
    png_layout layout{};
    if (!read_png_header(png, info, f, &layout)) {
        vx_report("loadPNG: damaged PNG header in %s\n", name);
        return 42;
    }
    const long count = vx_pixel_count(layout.width, layout.height);
    if (count <= 0 ||
        (remaining >= 0 && layout.stored_bytes > kMaxInflation * static_cast<uint64_t>(remaining) +
                                                     kInflationSlack)) {
        vx_report("loadPNG: impossible image size %ux%u in %s\n", layout.width, layout.height,
                  name);
        return 42;
    }
    const int channels = png_get_channels(png, info);
    const bool colour = channels >= 3;
    vx_report("LOADING %s W%u h%u ", name, layout.width, layout.height);
    if (colour)
        vx_report("as RGB color value image with %d channels\n", channels);
    else
        vx_report("as grey value image with %d channels\n", channels);

    const size_t row_bytes = png_get_rowbytes(png, info);
    auto* data = static_cast<png_byte*>(std::malloc(row_bytes * layout.height));
    auto* rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * layout.height));
    int result = 42;
    if (data == nullptr || rows == nullptr) {
        vx_report("loadPNG: no memory for %s\n", name);
    } else {
        for (uint32_t y = 0; y < layout.height; ++y)
            rows[y] = data + row_bytes * y;
        if (read_png_rows(png, end_info, rows)) {
            image* img =
                create_image(static_cast<int>(layout.width), static_cast<int>(layout.height), 0);
            img->kind = colour ? IMAGE_RGB : IMAGE_GREY;
            unpack_rows(rows, channels, img);
            update_image_struct(img);
            *out = img;
            result = 0;
        } else {
            vx_report("loadPNG: damaged or truncated PNG data in %s\n", name);
        }
    }
    std::free(rows);
    std::free(data);
    return result;
}

}  // namespace

int load_png_stream(FILE* f, const char* name, image** out)
{
    *out = nullptr;
    png_byte signature[8];
    if (std::fread(signature, 1, sizeof signature, f) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        vx_report("%s is not a PNG file\n", name);
        return 21;
    }
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, ignore_warning);
    if (png == nullptr) {
        vx_report("FATAL: Could not Initialize PNG read struct for file %s\n", name);
        return 42;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        vx_report("FATAL: Could not Initialize PNG first info struct for file %s\n", name);
        png_destroy_read_struct(&png, nullptr, nullptr);
        return 42;
    }
    png_infop end_info = png_create_info_struct(png);
    if (end_info == nullptr) {
        vx_report("FATAL: Could not Initialize PNG last info struct for file %s\n", name);
        png_destroy_read_struct(&png, &info, nullptr);
        return 42;
    }
    const int result = read_png(png, info, end_info, f, name, out);
    png_destroy_read_struct(&png, &info, &end_info);
    return result;
}

int loadPNG(const char* path, image** out)
{
    *out = nullptr;
    FILE* f = vxfopen(path, "rb");
    if (f == nullptr) {
        vx_report("loadPNG Could not Open File %s\n", path);
        return 42;
    }
    const int result = load_png_stream(f, path, out);
    std::fclose(f);
    return result;
}

namespace {

// The packed colour of a pixel: itself, or its palette entry. A palette with
// a known length has the index clamped into it.
struct colour_source {
    const int* palette;
    int length;  // 0 when the length is not known

    unsigned colour(int pixel) const
    {
        if (palette == nullptr)
            return static_cast<unsigned>(pixel);
        if (length > 0)
            pixel = pixel < 0 ? 0 : (pixel >= length ? length - 1 : pixel);
        return static_cast<unsigned>(palette[pixel]);
    }
};

bool write_png_rows(png_structp png, png_infop info, FILE* f, const image* img,
                    colour_source source, png_bytep row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(img->width),
                 static_cast<png_uint_32>(img->height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < img->height; ++y) {
        const int* in = img->pixels + static_cast<size_t>(y) * static_cast<size_t>(img->width);
        png_bytep p = row;
        for (int x = 0; x < img->width; ++x, p += 4) {
            const unsigned c = source.colour(in[x]);
            p[0] = static_cast<png_byte>(c);
            p[1] = static_cast<png_byte>(c >> 8);
            p[2] = static_cast<png_byte>(c >> 16);
            p[3] = 255;
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

int write_png(const char* path, const image* img, colour_source source)
{
    if (img->width <= 0 || img->height <= 0) {
        vx_report("writePNG: image of %d x %d pixels cannot be written to %s\n", img->width,
                  img->height, path);
        return 42;
    }
    checked_file out(path, "wb");
    if (!out.is_open()) {
        vx_report("writePNG Could not Open File %s\n", path);
        return 42;
    }
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, ignore_warning);
    if (png == nullptr) {
        vx_report("FATAL: Could not Initialize PNG write struct for file %s\n", path);
        return 42;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        vx_report("FATAL: Could not Initialize PNG first info struct for file %s\n", path);
        png_destroy_write_struct(&png, nullptr);
        return 42;
    }
    auto* row = static_cast<png_bytep>(std::malloc(4 * static_cast<size_t>(img->width)));
    out.record(row != nullptr && write_png_rows(png, info, out.stream(), img, source, row));
    std::free(row);
    png_destroy_write_struct(&png, &info);
    return out.close() ? 0 : 42;
}

}  // namespace

int writePNGPaletted(const char* path, const image* img, const int* palette)
{
    return write_png(path, img, colour_source{palette, 0});
}

int writePNGgrey(const char* path, const image* img)
{
    static const std::array<int, 256> greys = [] {
        std::array<int, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[static_cast<size_t>(i)] = i * 65793;
        return t;
    }();
    return write_png(path, img, colour_source{greys.data(), 256});
}

int writePNGRaw(const char* path, const image* img)
{
    return write_png(path, img, colour_source{nullptr, 0});
}
