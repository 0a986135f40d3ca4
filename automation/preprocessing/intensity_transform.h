#pragma once

#include "automation/automation_export.h"
#include "automation/preprocessing/process_image.h"

// The colour model of the intensity transformation. Channels and intensity
// are 0..255, hue in degrees, saturation 0..1. I = (R + G + B) / 3; a grey
// (R = G = B) has S = 0 and H = 1. HSI2RGB is the exact inverse of RGB2HSI;
// its channels are clamped to 0..255 when a changed intensity pushes them out.
AUTOMATION_EXPORT void RGB2HSI(double red, double green, double blue, double* hue,
                               double* saturation, double* intensity);
AUTOMATION_EXPORT void HSI2RGB(double hue, double saturation, double intensity, double* red,
                               double* green, double* blue);

// "Intensity Transformation": the intensity of every packed 0xRRGGBB colour,
// as a fraction h of 255, is mapped through a polygon of up to 256 points
// (x ascending) while hue and saturation stay. By default the polygon is
// (0,0)-(1,1), which leaves every colour as it is.
class AUTOMATION_EXPORT IntensityTransform : public ProcessImage {
public:
    static constexpr int kMaxPoints = 256;

    IntensityTransform();
    explicit IntensityTransform(const char* polygon);
    IntensityTransform(const IntensityTransform& other) = default;

    // Blank-separated "x,y" pairs, as in "0,0 0.5,0.8 1,1"; parameter text
    // "Distribution Polygon: %s". Points beyond 256 are dropped and a text
    // without any pair keeps the default polygon, each with a message.
    void init(const char* polygon);
    image* apply(const image* input) override;
    ProcessImage* copy() override;
    using ProcessImage::operator=;
    // Leaves the target unchanged; returns a new copy of other.
    [[nodiscard]] IntensityTransform* operator=(IntensityTransform& other);

private:
    // The polygon's value at h: linear on the first segment with
    // x[k] < h <= x[k+1], y[0] where no segment holds h.
    double map(double h) const;

    double x_[kMaxPoints] = {0.0, 1.0};
    double y_[kMaxPoints] = {0.0, 1.0};
    int count_ = 2;
};
