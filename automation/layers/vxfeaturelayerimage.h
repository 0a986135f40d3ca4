#pragma once

#include <string>
#include <vector>

#include "automation/automation_export.h"

// A stack of named layers of doubles of one width and height, stored as a
// gzip-compressed text file and exportable as grey PNG pictures. The value
// at (x, y) of layer l is element x + width * (y + l * height) of one array;
// pointers to layers stay valid until layers are added or removed.
//
// Tags are unique: a tag given to a layer that another layer has already
// becomes "<tag>_<n>", n the layer count (counted on while taken); a null
// tag becomes "Layer_<index>".
class AUTOMATION_EXPORT VxFeatureLayerImage {
public:
    // n layers of 0, tagged "Layer_<i>". Negative sizes count as 0.
    VxFeatureLayerImage(int width, int height, int n);
    // Reads a feature-layer file (plain text is read too). A file that
    // cannot be opened ends the process (code 42); a wrong head tag, a size
    // below 1, a negative layer count or missing values end it with code 40.
    explicit VxFeatureLayerImage(const char* file);
    virtual ~VxFeatureLayerImage();
    VxFeatureLayerImage(const VxFeatureLayerImage&) = delete;
    VxFeatureLayerImage& operator=(const VxFeatureLayerImage&) = delete;

    // A new array (delete[]) of width * height grey values: each value v as
    // int(255 / (max - min) * (v - min)), all 0 when max = min.
    virtual int* FitHistogramm(double* layer, int width, int height);
    // Writes the pixels as an 8-bit grey PNG (values clamped to 0..255).
    virtual void writePNGgrey(const char* file, int* pixels, int width, int height);

    // The gzip-compressed text file; a file that cannot be created ends the
    // process (code 42).
    void write(const char* file);

    void addLayer(const char* tag);
    // A layer copied from width * height values.
    void addLayer(const double* values, const char* tag);
    void addLayer(const int* values, const char* tag);
    // A layer holding the value everywhere.
    void addLayer(double value, const char* tag);
    void setLayerTag(int i, const char* tag);
    // Null outside the layers.
    const char* getLayerTag(int i) const;
    int getLayerIDX(const char* tag) const;
    double* getLayer(int i);
    double* getLayer(const char* tag);
    // The number of layers.
    int getLayer() const;
    // Copies width * height values into layer i.
    void setLayer(const double* values, int i);
    // 0 outside the image.
    double getValue(int x, int y, int l) const;
    void setValue(double value, int x, int y, int l);
    int getWidth() const;
    int getHeight() const;
    // Adds a copy of every layer of other; refused for another width or height.
    void append(const VxFeatureLayerImage& other);
    void removeLayer(int i);
    void removeLayer(const char* tag);
    // One PNG per layer, "<prefix>.<index>.<tag>.png", through FitHistogramm
    // and writePNGgrey.
    void writeLayerImages(const char* prefix);

private:
    size_t layerSize() const;
    bool inside(int x, int y, int l) const;
    size_t position(int x, int y, int l) const;
    double* addZeroLayer(const char* tag);
    std::string uniqueTag(const char* tag, int layer) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<double> values_;
    std::vector<std::string> tags_;
};
