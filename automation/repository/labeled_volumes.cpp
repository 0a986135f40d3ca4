// Volumes of the labels of a labeled repository, one slice per image: the
// Analyze 7.5 volume of the class regions and the headerless iso-surface
// volume of a class's contours.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "automation/detail/handles.h"
#include "automation/detail/text.h"
#include "automation/repository/vx_labeled_repository.h"
#include "imagecore/files/analyze.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/report.h"
#include "imagecore/text/image_date.h"

namespace {

// Analyze sizes are 16-bit.
constexpr int kMaxExtent = 32767;

// A file of slices of one size, the low byte of every pixel in row order.
class slice_file {
public:
    explicit slice_file(const std::string& path) : file_(path.c_str(), "wb") {}

    bool is_open() const { return file_.is_open(); }

    // Appends the image unless it cannot be a slice of this volume.
    void add(const image* img, const std::string& source)
    {
        if (img->width > kMaxExtent || img->height > kMaxExtent) {
            vx_report("%s is %d x %d, larger than a volume slice: left out\n", source.c_str(),
                      img->width, img->height);
            return;
        }
        if (slices_ > 0 && (img->width != width_ || img->height != height_)) {
            vx_report("%s is %d x %d, the volume %d x %d: left out\n", source.c_str(), img->width,
                      img->height, width_, height_);
            return;
        }
        if (slices_ == kMaxExtent) {
            vx_report("The volume holds %d slices: %s left out\n", kMaxExtent, source.c_str());
            return;
        }
        width_ = img->width;
        height_ = img->height;
        const size_t n = static_cast<size_t>(width_) * static_cast<size_t>(height_);
        bytes_.resize(n);
        for (size_t p = 0; p < n; ++p)
            bytes_[p] = static_cast<unsigned char>(img->pixels[p] & 0xff);
        file_.write(bytes_.data(), n);
        ++slices_;
    }

    // True when every slice is in the file; an older file stays whole
    // otherwise.
    bool close() { return file_.close(); }
    void discard() { file_.discard(); }

    int slices() const { return slices_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    checked_file file_;
    int slices_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> bytes_;
};

void put_le(unsigned char* at, uint32_t value, int bytes)
{
    for (int b = 0; b < bytes; ++b)
        at[b] = static_cast<unsigned char>(value >> (8 * b));
}

void put_float(unsigned char* at, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    put_le(at, bits, 4);
}

// Copies at most `room` bytes of the text; a field of that size needs no
// terminating zero.
void put_text(unsigned char* at, const std::string& text, size_t room)
{
    std::memcpy(at, text.data(), text.size() < room ? text.size() : room);
}

std::vector<unsigned char> analyze_header_bytes(int width, int height, int slices, float zScale,
                                                const std::string& name)
{
    std::vector<unsigned char> h(ANALYZE_HEADER_SIZE, 0);
    put_le(&h[0], ANALYZE_HEADER_SIZE, 4);
    put_text(&h[4], "dsr", 10);
    put_text(&h[14], "vx_analyse_export", 18);
    put_le(&h[32], 16384, 4);
    h[38] = 'r';
    const int dims[5] = {4, width, height, slices, 1};
    for (int d = 0; d < 5; ++d)
        put_le(&h[40 + 2 * d], static_cast<uint32_t>(dims[d]), 2);
    put_text(&h[56], "mm", 4);
    put_le(&h[70], ANALYZE_UINT8, 2);
    put_le(&h[72], 8, 2);
    const float pixdim[4] = {4.0f, 1.0f, 1.0f, zScale};
    for (int d = 0; d < 4; ++d)
        put_float(&h[76 + 4 * d], pixdim[d]);
    put_float(&h[112], 1.0f);
    put_le(&h[140], 255, 4);
    // The description keeps a terminating zero within its 80 bytes.
    put_text(&h[148], c_format("By vx_Analyse for %s", name.c_str()), 79);
    char text[32] = {};
    image_days(text);
    put_text(&h[293], text, 10);
    image_time(text);
    put_text(&h[303], text, 10);
    return h;
}

}  // namespace

int VxLabeledRepository::writeResultANLZVolume(const char* prefix, float zScale, bool binarize)
{
    const std::string base = text_or_empty(prefix);
    const std::string voxels = base + ".img";
    slice_file volume(voxels);
    if (!volume.is_open())
        return 0;
    for (int i = 0; i < getNumberOfImages(); ++i) {
        image_handle slice(classImage(i, region_part::pixels, classGreys(),
                                      "VxLabeledRepository::writeResultANLZVolume(..)"));
        if (slice == nullptr)
            continue;
        const size_t n = static_cast<size_t>(slice->width) * static_cast<size_t>(slice->height);
        for (size_t p = 0; binarize && p < n; ++p)
            slice->pixels[p] = slice->pixels[p] != 0 ? 255 : 0;
        volume.add(slice.get(), records[i].name);
    }
    if (volume.slices() == 0) {
        vx_report("No slice for the volume %s: nothing written\n", base.c_str());
        volume.discard();
        return 0;
    }
    if (!volume.close())
        return 0;
    const std::vector<unsigned char> header =
        analyze_header_bytes(volume.width(), volume.height(), volume.slices(), zScale, fileName);
    checked_file headerFile((base + ".hdr").c_str(), "wb");
    if (headerFile.is_open())
        headerFile.write(header.data(), header.size());
    if (!headerFile.close()) {
        std::remove(voxels.c_str());
        return 0;
    }
    return 1;
}

int VxLabeledRepository::writeIsoSurface(const char* file, int c)
{
    if (c < 1 || c >= numberOfClasses) {
        vx_report("VxLabeledRepository: no class %d\n", c);
        return 0;
    }
    slice_file volume(text_or_empty(file));
    if (!volume.is_open())
        return 0;
    std::vector<int> values(static_cast<size_t>(numberOfClasses), -1);
    values[c] = 255;
    for (int i = 0; i < getNumberOfImages(); ++i) {
        vx_report("Processing Tree %d, %s\n", i, treeFile(i, modes[c]).c_str());
        image_handle slice(classImage(i, region_part::outer_contour, values,
                                      "VxLabeledRepository::writeIsoSurface(..)"));
        if (slice != nullptr)
            volume.add(slice.get(), records[i].name);
    }
    return volume.close() ? 1 : 0;
}
