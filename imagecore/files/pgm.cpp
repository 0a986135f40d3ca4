#include "imagecore/files/pgm.h"

#include <climits>
#include <cstdlib>

#include "imagecore/fatal.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"
#include "imagecore/text/c_locale.h"

namespace {

bool is_space(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Reads one unsigned decimal header number after blanks and '#' comments;
// -1 when there is none or it does not fit an int.
long read_header_number(FILE* f)
{
    int c = std::fgetc(f);
    while (is_space(c) || c == '#') {
        if (c == '#')
            while (c != '\n' && c != '\r' && c != EOF)
                c = std::fgetc(f);
        c = std::fgetc(f);
    }
    if (c < '0' || c > '9')
        return -1;
    long value = 0;
    while (c >= '0' && c <= '9') {
        value = value * 10 + (c - '0');
        if (value > INT_MAX)
            return -1;
        c = std::fgetc(f);
    }
    // Exactly one blank ends the last number before the pixel bytes.
    return is_space(c) ? value : -1;
}

bool write_header(checked_file& out, const char* magic, const image* img)
{
    CLocaleScope c_numbers;
    return out.is_open() && out.record(std::fprintf(out.stream(), "%s\n%d %d\n255\n", magic,
                                                    img->width, img->height) > 0);
}

}  // namespace

pgm_status parse_pgm_p5(FILE* f, int** pixels, int* width, int* height)
{
    *pixels = nullptr;
    char magic[2];
    if (std::fread(magic, 1, 2, f) != 2 || magic[0] != 'P' || magic[1] != '5')
        return PGM_NOT_P5;
    const long w = read_header_number(f);
    const long h = read_header_number(f);
    const long maxval = read_header_number(f);
    if (w < 0 || h < 0 || maxval < 0)
        return PGM_CORRUPT;
    if (maxval >= 256)
        return PGM_MAXVAL;
    const long n = vx_pixel_count(w, h);
    const long remaining = vx_remaining_bytes(f);
    if (w == 0 || h == 0 || maxval == 0 || n < 0 || remaining < n)
        return PGM_CORRUPT;

    auto* data = static_cast<int*>(std::malloc(sizeof(int) * static_cast<size_t>(n)));
    if (data == nullptr)
        vx_out_of_memory(exit_code::out_of_memory, "Cannot alloc PGM pixel array of %ld pixels\n",
                         n);
    if (read_1_byte_ints(f, data, static_cast<size_t>(n)) != static_cast<size_t>(n)) {
        std::free(data);
        return PGM_CORRUPT;
    }
    *pixels = data;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return PGM_OK;
}

int read_pgm_p5(const char* path, int** pixels, int* width, int* height)
{
    *pixels = nullptr;
    FILE* f = vxfopen(path, "rb");
    if (f == nullptr)
        return -1;
    const pgm_status status = parse_pgm_p5(f, pixels, width, height);
    std::fclose(f);
    switch (status) {
    case PGM_OK: return 0;
    case PGM_NOT_P5:
        vx_fatal(exit_code::pgm_unreadable,
                 "No PGM P5 imagefile.  Cannot read format. Bailing out");
    case PGM_MAXVAL: vx_fatal(exit_code::pgm_unreadable, "Only reading 256 Bit images");
    case PGM_CORRUPT: break;
    }
    vx_fatal(exit_code::pgm_unreadable, "PGM P5 imagefile %s is damaged or truncated. Bailing out",
             path);
}

vx_image* read_vx_image_pgm_p5(const char* path)
{
    int* pixels = nullptr;
    int width = 0;
    int height = 0;
    if (read_pgm_p5(path, &pixels, &width, &height) != 0)
        return nullptr;
    auto* v = static_cast<vx_image*>(std::calloc(1, sizeof(vx_image)));
    auto* scale = static_cast<image*>(std::calloc(1, sizeof(image)));
    if (v == nullptr || scale == nullptr)
        vx_out_of_memory(exit_code::out_of_memory, "Cannot alloc Vx Image struct");
    init_image(scale);
    scale->width = width;
    scale->height = height;
    scale->pixels = pixels;
    scale->connect = -1;
    scale->kind = IMAGE_GREY;
    set_nb_offsets(scale->nb_offsets, width);
    update_image_struct(scale);
    v->nscales = 1;
    v->flag = 0;
    v->width = width;
    v->height = height;
    v->scales = scale;
    return v;
}

int write_pgm_p5(const char* path, const image* img)
{
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    // The range is taken from the pixels themselves: a stale min/max in the
    // record would push bytes outside 0..255.
    int lo = n > 0 ? img->pixels[0] : 0;
    int hi = lo;
    for (size_t i = 1; i < n; ++i) {
        lo = img->pixels[i] < lo ? img->pixels[i] : lo;
        hi = img->pixels[i] > hi ? img->pixels[i] : hi;
    }
    const double scale = hi == lo ? 0.0 : 255.0 / (static_cast<double>(hi) - lo);
    vx_report("Export pgm Image %s, Min %d, Max %d, Scale %f\n", path, lo, hi, scale);
    checked_file out(path, "wb");
    bool ok = write_header(out, "P5", img);
    unsigned char buf[4096];
    for (size_t done = 0; ok && done < n;) {
        const size_t m = n - done < sizeof buf ? n - done : sizeof buf;
        for (size_t i = 0; i < m; ++i)
            buf[i] = static_cast<unsigned char>((static_cast<double>(img->pixels[done + i]) - lo) *
                                                scale);
        ok = out.write(buf, m);
        done += m;
    }
    return out.close() ? 0 : -1;
}

int write_pgm_p3(const char* path, const image* img, const int* palette)
{
    checked_file out(path, "wb");
    bool ok = write_header(out, "P3", img);
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    // Each pixel takes at most 12 characters ("255 255 255 ").
    char buf[4096];
    size_t used = 0;
    for (size_t i = 0; ok && i < n; ++i) {
        const auto colour = static_cast<unsigned>(palette[img->pixels[i]]);
        for (int shift = 0; shift < 24; shift += 8) {
            const unsigned byte = (colour >> shift) & 255u;
            if (byte >= 100)
                buf[used++] = static_cast<char>('0' + byte / 100);
            if (byte >= 10)
                buf[used++] = static_cast<char>('0' + byte / 10 % 10);
            buf[used++] = static_cast<char>('0' + byte % 10);
            buf[used++] = ' ';
        }
        if (used > sizeof buf - 12 || i + 1 == n) {
            ok = out.write(buf, used);
            used = 0;
        }
    }
    return out.close() ? 0 : -1;
}
