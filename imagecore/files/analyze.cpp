#include "imagecore/files/analyze.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "imagecore/fatal.h"
#include "imagecore/files/bg16.h"
#include "imagecore/files/detail/byteorder.h"
#include "imagecore/files/swap.h"
#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"

namespace {

void swap_header(unsigned char* bytes)
{
    auto* b = reinterpret_cast<char*>(bytes);
    Swap4ByteInt(b + 0);
    Swap4ByteInt(b + 32);
    Swap2ByteSInt(b + 36);
    for (int off = 40; off < 56; off += 2)
        Swap2ByteSInt(b + off);
    for (int off = 68; off < 76; off += 2)  // unused14, datatype, bitpix, dim_un0
        Swap2ByteSInt(b + off);
    for (int off = 76; off < 140; off += 4)  // pixdim .. verified
        Swap4ByteFloat(b + off);
    Swap4ByteInt(b + 140);
    Swap4ByteInt(b + 144);
    for (int off = 316; off < 348; off += 4)
        Swap4ByteInt(b + off);
}

int i32(const unsigned char* b, int off)
{
    return static_cast<int>(vx_get_le32(b + off));
}

short i16(const unsigned char* b, int off)
{
    return static_cast<short>(static_cast<int16_t>(vx_get_le16(b + off)));
}

float f32(const unsigned char* b, int off)
{
    return vx_float_from_bits(vx_get_le32(b + off));
}

std::string with_suffix(const char* base, const char* suffix)
{
    return std::string(base) + suffix;
}

}  // namespace

void parse_analyze_header(unsigned char* b, analyze_header* h)
{
    if (i32(b, 0) != ANALYZE_HEADER_SIZE)
        swap_header(b);
    h->sizeof_hdr = i32(b, 0);
    std::memcpy(h->data_type, b + 4, sizeof h->data_type);
    std::memcpy(h->db_name, b + 14, sizeof h->db_name);
    h->extents = i32(b, 32);
    h->session_error = i16(b, 36);
    h->regular = static_cast<char>(b[38]);
    h->hkey_un0 = static_cast<char>(b[39]);
    for (int i = 0; i < 8; ++i)
        h->dim[i] = i16(b, 40 + 2 * i);
    short* unused[7] = {&h->unused8,  &h->unused9,  &h->unused10, &h->unused11,
                        &h->unused12, &h->unused13, &h->unused14};
    for (int i = 0; i < 7; ++i)
        *unused[i] = i16(b, 56 + 2 * i);
    h->datatype = i16(b, 70);
    h->bitpix = i16(b, 72);
    h->dim_un0 = i16(b, 74);
    for (int i = 0; i < 8; ++i)
        h->pixdim[i] = f32(b, 76 + 4 * i);
    h->vox_offset = f32(b, 108);
    h->funused1 = f32(b, 112);
    h->funused2 = f32(b, 116);
    h->funused3 = f32(b, 120);
    h->cal_max = f32(b, 124);
    h->cal_min = f32(b, 128);
    h->compressed = f32(b, 132);
    h->verified = f32(b, 136);
    h->glmax = i32(b, 140);
    h->glmin = i32(b, 144);
    std::memcpy(h->descrip, b + 148, sizeof h->descrip);
    std::memcpy(h->aux_file, b + 228, sizeof h->aux_file);
    h->orient = static_cast<char>(b[252]);
    std::memcpy(h->originator, b + 253, sizeof h->originator);
    std::memcpy(h->generated, b + 263, sizeof h->generated);
    std::memcpy(h->scannum, b + 273, sizeof h->scannum);
    std::memcpy(h->patient_id, b + 283, sizeof h->patient_id);
    std::memcpy(h->exp_date, b + 293, sizeof h->exp_date);
    std::memcpy(h->exp_time, b + 303, sizeof h->exp_time);
    std::memcpy(h->hist_un0, b + 313, sizeof h->hist_un0);
    int* tail[8] = {&h->views, &h->vols_added, &h->start_field, &h->field_skip,
                    &h->omax,  &h->omin,       &h->smax,        &h->smin};
    for (int i = 0; i < 8; ++i)
        *tail[i] = i32(b, 316 + 4 * i);
}

long analyze_voxel_count(const analyze_header* h)
{
    if (h->dim[1] <= 0 || h->dim[2] <= 0 || h->dim[3] <= 0)
        return -1;
    const long slice = vx_pixel_count(h->dim[1], h->dim[2]);
    return slice < 0 ? -1 : vx_pixel_count(slice, h->dim[3]);
}

analyze_status read_analyze_voxels(FILE* f, int count, int datatype, int** voxels)
{
    *voxels = nullptr;
    if (datatype != ANALYZE_UINT8 && datatype != ANALYZE_INT16)
        return ANALYZE_BAD_DATATYPE;
    const long bytes_per_voxel = datatype == ANALYZE_UINT8 ? 1 : 2;
    const long remaining = vx_remaining_bytes(f);
    if (count <= 0 || remaining < 0 || remaining / bytes_per_voxel < count)
        return ANALYZE_SHORT_DATA;
    auto* v =
        static_cast<int*>(vx_calloc(static_cast<size_t>(count), sizeof(int),
                                    exit_code::out_of_memory, "Cannot alloc Analyze voxel array"));
    const size_t n = static_cast<size_t>(count);
    const size_t got =
        datatype == ANALYZE_UINT8 ? read_1_byte_ints(f, v, n) : read_2_byte_ints(f, v, n);
    if (got != n) {
        std::free(v);
        return ANALYZE_SHORT_DATA;
    }
    if (datatype == ANALYZE_INT16)
        for (size_t i = 0; i < n; ++i)
            v[i] = static_cast<int16_t>(v[i]);
    *voxels = v;
    return ANALYZE_OK;
}

void read_analyze_header(const char* base, analyze_header* h)
{
    const std::string path = with_suffix(base, ".hdr");
    FILE* f = vxfopen(path.c_str(), "rb");
    unsigned char bytes[ANALYZE_HEADER_SIZE];
    const bool complete = f != nullptr && std::fread(bytes, 1, sizeof bytes, f) == sizeof bytes;
    if (f != nullptr)
        std::fclose(f);
    if (!complete)
        vx_fatal(exit_code::analyze_unreadable, "Problems with the header file %s\n", path.c_str());
    parse_analyze_header(bytes, h);
}

int read_analyze_image(const char* base, int** voxels, int count, int datatype)
{
    *voxels = nullptr;
    if (datatype != ANALYZE_UINT8 && datatype != ANALYZE_INT16)
        vx_fatal(exit_code::analyze_datatype_unknown, "Unkown Analyze datatype %d\n", datatype);
    const std::string path = with_suffix(base, ".img");
    FILE* f = vxfopen(path.c_str(), "rb");
    if (f == nullptr)
        vx_fatal(exit_code::analyze_unreadable, "Problems with the image file %s\n", path.c_str());
    const analyze_status status = read_analyze_voxels(f, count, datatype, voxels);
    std::fclose(f);
    if (status != ANALYZE_OK)
        vx_fatal(exit_code::analyze_unreadable,
                 "Problems with the image file %s: fewer than %d voxels\n", path.c_str(), count);
    return count;
}

int analyze_2_16BGLayers(const char* out_base, const int* voxels, int width, int height, int slices)
{
    const size_t slice_size = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<char> name(std::strlen(out_base) + 32);
    for (int s = 0; s < slices; ++s) {
        std::snprintf(name.data(), name.size(), "%s.%.4d.16bg", out_base, s);
        if (write_16bg_pixels(name.data(), voxels + slice_size * static_cast<size_t>(s), width,
                              height) != 0)
            return -1;
    }
    return 0;
}

int analyze_2_16BG(const char* base, const char* out_base)
{
    analyze_header h;
    read_analyze_header(base, &h);
    const long count = analyze_voxel_count(&h);
    if (count < 0)
        vx_fatal(exit_code::analyze_unreadable,
                 "Problems with the header file %s.hdr: dimensions %d x %d x %d\n", base, h.dim[1],
                 h.dim[2], h.dim[3]);
    int* voxels = nullptr;
    read_analyze_image(base, &voxels, static_cast<int>(count), h.datatype);
    const int result = analyze_2_16BGLayers(out_base, voxels, h.dim[1], h.dim[2], h.dim[3]);
    std::free(voxels);
    return result;
}
