#pragma once

#include "automation/automation_export.h"
#include "automation/preprocessing/process_image.h"

// "RGB Filter Image": each channel of a packed 0xRRGGBB colour multiplied by
// its factor (1 by default), truncated and clamped to 0..255.
class AUTOMATION_EXPORT RGBFilter : public ProcessImage {
public:
    RGBFilter();
    RGBFilter(double red, double green, double blue);
    RGBFilter(const RGBFilter& other) = default;

    // Parameter text "Red: %f, Green: %f, Blue: %f".
    void init(double red, double green, double blue);
    image* apply(const image* input) override;
    ProcessImage* copy() override;
    using ProcessImage::operator=;
    // Leaves the target unchanged; returns a new copy of other.
    [[nodiscard]] RGBFilter* operator=(RGBFilter& other);

private:
    double red_ = 1.0;
    double green_ = 1.0;
    double blue_ = 1.0;
};
