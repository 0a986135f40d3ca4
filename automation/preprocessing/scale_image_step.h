#pragma once

#include "automation/automation_export.h"
#include "automation/preprocessing/process_image.h"

// "Scale Image": nearest-neighbour resampling by a factor (1 by default).
class AUTOMATION_EXPORT scaleImage : public ProcessImage {
public:
    scaleImage();
    explicit scaleImage(double factor);
    scaleImage(const scaleImage& other) = default;

    // Parameter text "Scaling: %f".
    void init(double factor);
    // A factor <= 0, or one that leaves no pixel, gives a copy of the input
    // with a message.
    image* apply(const image* input) override;
    ProcessImage* copy() override;
    using ProcessImage::operator=;
    // Leaves the target unchanged; returns a new copy of other.
    [[nodiscard]] scaleImage* operator=(scaleImage& other);

private:
    double factor_ = 1.0;
};
