#pragma once

#include <cstdio>

#include "imagecore/vximage_export.h"

// Analyze 7.5 volumes: a 348-byte header (base name + ".hdr") and the raw
// voxels (base name + ".img"), slices of dim[1] x dim[2] voxels.

inline constexpr int ANALYZE_HEADER_SIZE = 348;
inline constexpr int ANALYZE_UINT8 = 2;  // unsigned 8-bit voxels
inline constexpr int ANALYZE_INT16 = 4;  // signed 16-bit little-endian voxels

struct analyze_header {
    int sizeof_hdr;
    char data_type[10];
    char db_name[18];
    int extents;
    short session_error;
    char regular;
    char hkey_un0;
    short dim[8];  // 0 number of dimensions, 1 width, 2 height, 3 slices, 4 volumes
    short unused8, unused9, unused10, unused11, unused12, unused13, unused14;
    short datatype;
    short bitpix;
    short dim_un0;
    float pixdim[8];
    float vox_offset;
    float funused1, funused2, funused3;
    float cal_max, cal_min;
    float compressed, verified;
    int glmax, glmin;
    char descrip[80];
    char aux_file[24];
    char orient;
    char originator[10];
    char generated[10];
    char scannum[10];
    char patient_id[10];
    char exp_date[10];
    char exp_time[10];
    char hist_un0[3];
    int views, vols_added, start_field, field_skip;
    int omax, omin, smax, smin;
};

// Decodes the 348 header bytes; when the first int is not 348 the header is
// taken as big-endian and its numeric fields are swapped in `bytes` first.
VXIMAGE_EXPORT void parse_analyze_header(unsigned char* bytes, analyze_header* h);

// Voxels of the first volume (dim[1] * dim[2] * dim[3]), or -1 when a
// dimension is not positive or the product does not fit an int.
VXIMAGE_EXPORT long analyze_voxel_count(const analyze_header* h);

enum analyze_status {
    ANALYZE_OK = 0,
    ANALYZE_BAD_DATATYPE,
    ANALYZE_SHORT_DATA,  // fewer voxel bytes than count, or count not positive
};

// Reads count voxels from the stream into a new int array (one int per voxel);
// *voxels stays null unless ANALYZE_OK is returned.
VXIMAGE_EXPORT analyze_status read_analyze_voxels(FILE* f, int count, int datatype, int** voxels);

// Reads base + ".hdr". A missing or short header ends the process (code 10).
VXIMAGE_EXPORT void read_analyze_header(const char* base, analyze_header* h);

// Reads count voxels of base + ".img" into a new int array and returns count.
// An unknown datatype, a missing file or too few voxels end the process
// (code 10).
VXIMAGE_EXPORT int read_analyze_image(const char* base, int** voxels, int count, int datatype);

// Writes each of the `slices` width x height slices as "%s.%.4d.16bg"
// (out base, slice index). Returns 0, or -1 when a slice cannot be written.
VXIMAGE_EXPORT int analyze_2_16BGLayers(const char* out_base, const int* voxels, int width,
                                        int height, int slices);

// Reads the volume of `base` and writes its slices as "16BG" files. Returns 0,
// or -1 when a slice cannot be written; a volume that cannot be read ends the
// process (code 10).
VXIMAGE_EXPORT int analyze_2_16BG(const char* base, const char* out_base);
