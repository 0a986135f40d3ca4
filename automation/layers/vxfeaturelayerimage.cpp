#include "automation/layers/vxfeaturelayerimage.h"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "automation/detail/text_fields.h"
#include "imagecore/exit_codes.h"
#include "imagecore/fatal.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/files/image_loader.h"
#include "imagecore/image.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"
#include "imagecore/text/vxstringtools.h"

namespace {

constexpr const char* kNoMemory = " Not enough Mem for a feature layer image\n";

struct gz_closer {
    void operator()(gzFile_s* f) const { gzclose(f); }
};
using gz_file = std::unique_ptr<gzFile_s, gz_closer>;

// Reads the text of a feature-layer file; every fault ends the process.
class layer_reader {
public:
    layer_reader(gzFile f, const char* name) : file_(f), name_(name) {}

    // "<tag><number>\n" with a number of at least `least`.
    int head(const char* tag, int least)
    {
        int value = 0;
        const bool line = read_to('\n');
        const size_t n = std::strlen(tag);
        if (!line || text_.compare(0, n, tag) != 0 || !parse_whole_int(stripped(n), value) ||
            value < least)
            refuse(tag);
        return value;
    }

    [[noreturn]] void refuse(const char* tag)
    {
        vx_fatal(exit_code::feature_layer_file,
                 "%s is not a valid feature layer file Tag expecting Tag %s\nERROR! BAILING OUT\n",
                 name_, tag);
    }

    // The text up to the next '\n'.
    const std::string& tag(int layer)
    {
        if (!read_to('\n'))
            bail("layer %d has no tag", layer);
        return text_;
    }

    // The number up to the next ','.
    double value(int layer, size_t index)
    {
        if (!read_to(','))
            bail("layer %d ends after %zu values", layer, index);
        return vx_atof(text_.c_str());
    }

    void skip() { gzgetc(file_); }

private:
    [[noreturn]] __attribute__((format(printf, 2, 3))) void bail(const char* format, ...)
    {
        char why[128];
        va_list args;
        va_start(args, format);
        std::vsnprintf(why, sizeof why, format, args);
        va_end(args);
        vx_fatal(exit_code::feature_layer_file,
                 "%s is not a valid feature layer file: %s\nERROR! BAILING OUT\n", name_, why);
    }

    // The text before the next `end`, which is consumed; false when the file
    // ends first.
    bool read_to(char end)
    {
        text_.clear();
        for (int c = gzgetc(file_); c != -1; c = gzgetc(file_)) {
            if (c == static_cast<unsigned char>(end))
                return true;
            text_.push_back(static_cast<char>(c));
        }
        return false;
    }

    const char* stripped(size_t from)
    {
        text_.erase(0, from);
        text_.resize(std::strlen(text_.c_str()));
        stripLeadingWhitespacesString(text_.data());
        return text_.c_str();
    }

    gzFile file_;
    const char* name_;
    std::string text_;
};

// Appends "%f" of the value in the C locale.
void append_fixed(std::string& out, double value)
{
    char number[320];
    vx_format_fixed(number, sizeof number, value, 6);
    out += number;
}

}  // namespace

VxFeatureLayerImage::VxFeatureLayerImage(int width, int height, int n)
    : width_(std::max(width, 0)), height_(std::max(height, 0))
{
    for (int l = 0; l < n; ++l)
        addZeroLayer(nullptr);
}

VxFeatureLayerImage::VxFeatureLayerImage(const char* file)
{
    gz_file in(file != nullptr ? gzopen(file, "rb") : nullptr);
    if (in == nullptr)
        vx_fatal(exit_code::feature_layer_open, "Could Not Open %s for input\nERROR! BAILING OUT\n",
                 file != nullptr ? file : "(null)");
    layer_reader reader(in.get(), file);
    width_ = reader.head("Width: ", 1);
    height_ = reader.head("Height: ", 1);
    if (width_ > INT_MAX / height_)
        reader.refuse("Height: ");
    const int layers = reader.head("Layer: ", 0);
    // Values are taken as the file holds them, so that its head alone
    // allocates nothing.
    for (int l = 0; l < layers; ++l) {
        tags_.push_back(uniqueTag(reader.tag(l).c_str(), l));
        for (size_t i = 0; i < layerSize(); ++i)
            values_.push_back(reader.value(l, i));
        reader.skip();
    }
}

VxFeatureLayerImage::~VxFeatureLayerImage() = default;

size_t VxFeatureLayerImage::layerSize() const
{
    return static_cast<size_t>(width_) * static_cast<size_t>(height_);
}

std::string VxFeatureLayerImage::uniqueTag(const char* tag, int layer) const
{
    // A tag ends at a line break, as the file reads it.
    std::string base = tag != nullptr ? std::string(tag, std::strcspn(tag, "\n"))
                                      : "Layer_" + std::to_string(layer);
    auto taken = [&](const std::string& t) {
        for (size_t i = 0; i < tags_.size(); ++i)
            if (static_cast<int>(i) != layer && tags_[i] == t)
                return true;
        return false;
    };
    if (!taken(base))
        return base;
    for (int n = getLayer();; ++n) {
        std::string numbered = base + "_" + std::to_string(n);
        if (!taken(numbered))
            return numbered;
    }
}

double* VxFeatureLayerImage::addZeroLayer(const char* tag)
{
    const int layer = getLayer();
    std::string unique = uniqueTag(tag, layer);
    try {
        values_.resize(values_.size() + layerSize(), 0.0);
    } catch (const std::bad_alloc&) {
        vx_out_of_memory(exit_code::out_of_memory, "%s", kNoMemory);
    }
    tags_.push_back(std::move(unique));
    return getLayer(layer);
}

int* VxFeatureLayerImage::FitHistogramm(double* layer, int width, int height)
{
    const size_t n =
        width > 0 && height > 0 ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0;
    int* grey = new int[n > 0 ? n : 1]();
    if (n == 0 || layer == nullptr)
        return grey;
    const auto range = std::minmax_element(layer, layer + n);
    const double lo = *range.first;
    const double hi = *range.second;
    if (!(hi > lo))
        return grey;
    for (size_t i = 0; i < n; ++i) {
        const double g = 255.0 / (hi - lo) * (layer[i] - lo);
        grey[i] = g >= 0.0 ? static_cast<int>(std::min(g, 255.0)) : 0;
    }
    return grey;
}

void VxFeatureLayerImage::writePNGgrey(const char* file, int* pixels, int width, int height)
{
    if (pixels == nullptr || width < 1 || height < 1 || width > INT_MAX / height)
        return;
    image* picture = create_image(width, height, 0);
    std::memcpy(picture->pixels, pixels,
                sizeof(int) * static_cast<size_t>(width) * static_cast<size_t>(height));
    ::writePNGgrey(file, picture);
    delete_image(picture);
}

void VxFeatureLayerImage::write(const char* file)
{
    // The compressed bytes go to a checked file, so that a file that cannot
    // be written whole leaves the older one as it was.
    checked_file written(file, "wb");
    const int fd = written.is_open() ? ::dup(::fileno(written.stream())) : -1;
    gz_file out(fd >= 0 ? gzdopen(fd, "wb") : nullptr);
    if (out == nullptr) {
        if (fd >= 0)
            ::close(fd);
        written.discard();
        vx_fatal(exit_code::feature_layer_open,
                 "Could Not Open %s for output\nERROR! BAILING OUT\n",
                 file != nullptr ? file : "(null)");
    }
    std::string text = "Width: " + std::to_string(width_) + "\nHeight: " + std::to_string(height_) +
                       "\nLayer: " + std::to_string(getLayer()) + "\n";
    bool ok = true;
    const size_t size = layerSize();
    for (int l = 0; l < getLayer() && ok; ++l) {
        text += tags_[static_cast<size_t>(l)];
        text += '\n';
        const double* layer = getLayer(l);
        for (size_t i = 0; i < size; ++i) {
            append_fixed(text, layer[i]);
            text += i + 1 < size ? ", " : ",";
        }
        text += '\n';
        ok = gzwrite(out.get(), text.data(), static_cast<unsigned>(text.size())) ==
             static_cast<int>(text.size());
        text.clear();
    }
    if (ok && !text.empty())
        ok = gzwrite(out.get(), text.data(), static_cast<unsigned>(text.size())) ==
             static_cast<int>(text.size());
    written.record(gzclose(out.release()) == Z_OK && ok);
    if (!written.close())
        vx_report("Could not write feature layer file %s\n", file);
}

void VxFeatureLayerImage::addLayer(const char* tag)
{
    addZeroLayer(tag);
}

void VxFeatureLayerImage::addLayer(const double* values, const char* tag)
{
    double* layer = addZeroLayer(tag);
    if (values != nullptr)
        std::copy(values, values + layerSize(), layer);
}

void VxFeatureLayerImage::addLayer(const int* values, const char* tag)
{
    double* layer = addZeroLayer(tag);
    if (values != nullptr)
        std::copy(values, values + layerSize(), layer);
}

void VxFeatureLayerImage::addLayer(double value, const char* tag)
{
    double* layer = addZeroLayer(tag);
    std::fill(layer, layer + layerSize(), value);
}

void VxFeatureLayerImage::setLayerTag(int i, const char* tag)
{
    if (i >= 0 && i < getLayer())
        tags_[static_cast<size_t>(i)] = uniqueTag(tag, i);
}

const char* VxFeatureLayerImage::getLayerTag(int i) const
{
    return i >= 0 && i < getLayer() ? tags_[static_cast<size_t>(i)].c_str() : nullptr;
}

int VxFeatureLayerImage::getLayerIDX(const char* tag) const
{
    for (size_t i = 0; tag != nullptr && i < tags_.size(); ++i)
        if (tags_[i] == tag)
            return static_cast<int>(i);
    return -1;
}

double* VxFeatureLayerImage::getLayer(int i)
{
    return i >= 0 && i < getLayer() ? values_.data() + static_cast<size_t>(i) * layerSize()
                                    : nullptr;
}

double* VxFeatureLayerImage::getLayer(const char* tag)
{
    return getLayer(getLayerIDX(tag));
}

int VxFeatureLayerImage::getLayer() const
{
    return static_cast<int>(tags_.size());
}

void VxFeatureLayerImage::setLayer(const double* values, int i)
{
    double* layer = getLayer(i);
    if (layer != nullptr && values != nullptr)
        std::copy(values, values + layerSize(), layer);
}

bool VxFeatureLayerImage::inside(int x, int y, int l) const
{
    return x >= 0 && x < width_ && y >= 0 && y < height_ && l >= 0 && l < getLayer();
}

size_t VxFeatureLayerImage::position(int x, int y, int l) const
{
    return static_cast<size_t>(x) + static_cast<size_t>(width_) * static_cast<size_t>(y) +
           static_cast<size_t>(l) * layerSize();
}

double VxFeatureLayerImage::getValue(int x, int y, int l) const
{
    return inside(x, y, l) ? values_[position(x, y, l)] : 0.0;
}

void VxFeatureLayerImage::setValue(double value, int x, int y, int l)
{
    if (inside(x, y, l))
        values_[position(x, y, l)] = value;
}

int VxFeatureLayerImage::getWidth() const
{
    return width_;
}

int VxFeatureLayerImage::getHeight() const
{
    return height_;
}

void VxFeatureLayerImage::append(const VxFeatureLayerImage& other)
{
    if (other.width_ != width_ || other.height_ != height_) {
        vx_report("Could not append layers of %d x %d to a feature layer image of %d x %d\n",
                  other.width_, other.height_, width_, height_);
        return;
    }
    // Copies first, so that an image can take its own layers once more.
    const std::vector<double> values = other.values_;
    const std::vector<std::string> tags = other.tags_;
    for (size_t l = 0; l < tags.size(); ++l)
        addLayer(values.data() + l * layerSize(), tags[l].c_str());
}

void VxFeatureLayerImage::removeLayer(int i)
{
    if (i < 0 || i >= getLayer())
        return;
    const auto first =
        values_.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(i) * layerSize());
    values_.erase(first, first + static_cast<std::ptrdiff_t>(layerSize()));
    tags_.erase(tags_.begin() + i);
}

void VxFeatureLayerImage::removeLayer(const char* tag)
{
    removeLayer(getLayerIDX(tag));
}

void VxFeatureLayerImage::writeLayerImages(const char* prefix)
{
    for (int l = 0; l < getLayer(); ++l) {
        const std::string file = std::string(prefix != nullptr ? prefix : "") + "." +
                                 std::to_string(l) + "." + tags_[static_cast<size_t>(l)] + ".png";
        std::unique_ptr<int[]> pixels(FitHistogramm(getLayer(l), width_, height_));
        writePNGgrey(file.c_str(), pixels.get(), width_, height_);
    }
}
