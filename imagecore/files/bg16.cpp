#include "imagecore/files/bg16.h"

#include <cstdint>
#include <cstring>

#include "imagecore/fatal.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/files/detail/byteorder.h"
#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

bg16_status read_16bg_stream(FILE* f, image** out)
{
    *out = nullptr;
    unsigned char header[12];
    const size_t got = std::fread(header, 1, sizeof header, f);
    if (got < 4 || std::memcmp(header, "16BG", 4) != 0)
        return BG16_NOT_16BG;
    if (got < sizeof header)
        return BG16_CORRUPT;
    const int width = static_cast<int>(vx_get_le32(header + 4));
    const int height = static_cast<int>(vx_get_le32(header + 8));
    const long n = vx_pixel_count(width, height);
    const long remaining = vx_remaining_bytes(f);
    if (width <= 0 || height <= 0 || n < 0 || remaining < 0 || remaining / 2 < n)
        return BG16_CORRUPT;

    image* img = create_image(width, height, 0);
    if (read_2_byte_ints(f, img->pixels, static_cast<size_t>(n)) != static_cast<size_t>(n)) {
        delete_image(img);
        return BG16_CORRUPT;
    }
    for (long i = 0; i < n; ++i)
        img->pixels[i] = static_cast<int16_t>(img->pixels[i]);
    img->kind = IMAGE_GREY16;
    update_image_struct(img);
    *out = img;
    return BG16_OK;
}

int load16BitGreyPGM(const char* path, image** out)
{
    *out = nullptr;
    FILE* f = vxfopen(path, "rb");
    if (f == nullptr)
        vx_fatal(exit_code::bg16_unreadable, "Could not open file %s\nBAILING OOUT!\n", path);
    const bg16_status status = read_16bg_stream(f, out);
    std::fclose(f);
    if (status == BG16_CORRUPT)
        vx_report("16BG file %s is damaged or truncated\n", path);
    return status == BG16_OK ? 0 : 1;
}

int write_16bg_pixels(const char* path, const int* pixels, int width, int height)
{
    checked_file out(path, "wb");
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    unsigned char header[12];
    std::memcpy(header, "16BG", 4);
    vx_put_le32(header + 4, static_cast<uint32_t>(width));
    vx_put_le32(header + 8, static_cast<uint32_t>(height));
    if (out.write(header, sizeof header))
        out.record(write_2_byte_ints(out.stream(), pixels, n) == n);
    return out.close() ? 0 : -1;
}

int write16BitGreyPGM(const char* path, const image* img)
{
    return write_16bg_pixels(path, img->pixels, img->width, img->height);
}
