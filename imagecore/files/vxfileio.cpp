#include "imagecore/files/vxfileio.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "imagecore/files/detail/byteorder.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

namespace {

// Values are converted through a stack buffer of this many values per stdio call.
constexpr size_t kChunk = 1024;

constexpr size_t kReadBlock = 10000;

}  // namespace

void write_4_byte_int(FILE* f, int value)
{
    write_4_byte_ints(f, &value, 1);
}

int read_4_byte_int(FILE* f)
{
    int v = 0;
    read_4_byte_ints(f, &v, 1);
    return v;
}

void write_2_byte_int(FILE* f, int value)
{
    write_2_byte_ints(f, &value, 1);
}

int read_2_byte_int(FILE* f)
{
    int v = 0;
    read_2_byte_ints(f, &v, 1);
    return v;
}

void write_4_byte_float(FILE* f, float value)
{
    unsigned char b[4];
    vx_put_le32(b, vx_bits_from_float(value));
    std::fwrite(b, 1, sizeof b, f);
}

float read_4_byte_float(FILE* f)
{
    unsigned char b[4];
    if (std::fread(b, 1, sizeof b, f) != sizeof b)
        return 0.0f;
    return vx_float_from_bits(vx_get_le32(b));
}

void write_8_byte_float(FILE* f, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    unsigned char b[8];
    vx_put_le32(b, static_cast<uint32_t>(bits));
    vx_put_le32(b + 4, static_cast<uint32_t>(bits >> 32));
    std::fwrite(b, 1, sizeof b, f);
}

double read_8_byte_float(FILE* f)
{
    unsigned char b[8];
    if (std::fread(b, 1, sizeof b, f) != sizeof b)
        return 0.0;
    const uint64_t bits = static_cast<uint64_t>(vx_get_le32(b + 4)) << 32 | vx_get_le32(b);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

namespace {

// Block transfer of W-byte little-endian integers through a stack buffer.
template <size_t W>
size_t write_le_ints(FILE* f, const int* values, size_t n)
{
    unsigned char buf[kChunk * W];
    size_t done = 0;
    while (done < n) {
        const size_t m = n - done < kChunk ? n - done : kChunk;
        for (size_t i = 0; i < m; ++i) {
            const auto v = static_cast<uint32_t>(values[done + i]);
            if constexpr (W == 4)
                vx_put_le32(buf + W * i, v);
            else if constexpr (W == 2)
                vx_put_le16(buf + W * i, v);
            else
                buf[i] = static_cast<unsigned char>(v);
        }
        const size_t written = std::fwrite(buf, W, m, f);
        done += written;
        if (written != m)
            break;
    }
    return done;
}

template <size_t W>
size_t read_le_ints(FILE* f, int* values, size_t n)
{
    unsigned char buf[kChunk * W];
    size_t done = 0;
    while (done < n) {
        const size_t m = n - done < kChunk ? n - done : kChunk;
        const size_t got = std::fread(buf, W, m, f);
        for (size_t i = 0; i < got; ++i) {
            if constexpr (W == 4)
                values[done + i] = static_cast<int>(vx_get_le32(buf + W * i));
            else if constexpr (W == 2)
                values[done + i] = static_cast<int>(vx_get_le16(buf + W * i));
            else
                values[done + i] = buf[i];
        }
        done += got;
        if (got != m)
            break;
    }
    return done;
}

}  // namespace

size_t write_4_byte_ints(FILE* f, const int* values, size_t n)
{
    return write_le_ints<4>(f, values, n);
}

size_t read_4_byte_ints(FILE* f, int* values, size_t n)
{
    return read_le_ints<4>(f, values, n);
}

size_t write_2_byte_ints(FILE* f, const int* values, size_t n)
{
    return write_le_ints<2>(f, values, n);
}

size_t read_2_byte_ints(FILE* f, int* values, size_t n)
{
    return read_le_ints<2>(f, values, n);
}

size_t write_1_byte_ints(FILE* f, const int* values, size_t n)
{
    return write_le_ints<1>(f, values, n);
}

size_t read_1_byte_ints(FILE* f, int* values, size_t n)
{
    return read_le_ints<1>(f, values, n);
}

long vx_remaining_bytes(FILE* f)
{
    const long here = std::ftell(f);
    if (here < 0 || std::fseek(f, 0, SEEK_END) != 0)
        return -1;
    const long end = std::ftell(f);
    if (std::fseek(f, here, SEEK_SET) != 0 || end < here)
        return -1;
    return end - here;
}

namespace {

// Reads the whole file into a new byte array with one spare byte at its end;
// returns the byte count or -1.
long read_all_bytes(const char* path, unsigned char** out)
{
    *out = nullptr;
    FILE* f = vxfopen(path, "rb");
    if (f == nullptr)
        return -1;
    unsigned char* data = nullptr;
    size_t size = 0;
    size_t capacity = 0;
    bool failed = false;
    for (;;) {
        if (capacity - size < kReadBlock) {
            // Grow by whole blocks, doubling so that big files cost linear time.
            const size_t grow =
                capacity > kReadBlock ? capacity / kReadBlock * kReadBlock : kReadBlock;
            auto* bigger = static_cast<unsigned char*>(std::realloc(data, capacity + grow + 1));
            if (bigger == nullptr) {
                failed = true;
                break;
            }
            data = bigger;
            capacity += grow;
        }
        const size_t got = std::fread(data + size, 1, kReadBlock, f);
        size += got;
        if (got < kReadBlock)
            break;
        if (size > static_cast<size_t>(INT_MAX)) {
            failed = true;
            break;
        }
    }
    failed = failed || std::ferror(f) != 0 || size > static_cast<size_t>(INT_MAX);
    std::fclose(f);
    if (failed) {
        vx_report("Could not read file %s\n", path);
        std::free(data);
        return -1;
    }
    *out = data;
    return static_cast<long>(size);
}

}  // namespace

int readFile(const char* path, char** out)
{
    unsigned char* data = nullptr;
    const long n = read_all_bytes(path, &data);
    *out = reinterpret_cast<char*>(data);
    if (n >= 0)
        data[n] = 0;
    return static_cast<int>(n);
}

int readFileAsInt(const char* path, int** out)
{
    *out = nullptr;
    unsigned char* data = nullptr;
    const long n = read_all_bytes(path, &data);
    if (n < 0)
        return -1;
    auto* values = static_cast<int*>(std::malloc(sizeof(int) * static_cast<size_t>(n > 0 ? n : 1)));
    if (values == nullptr) {
        vx_report("Could not read file %s\n", path);
        std::free(data);
        return -1;
    }
    for (long i = 0; i < n; ++i)
        values[i] = data[i];
    std::free(data);
    *out = values;
    return static_cast<int>(n);
}
