#pragma once

#include "automation/automation_export.h"
#include "automation/preprocessing/process_image.h"

// Crops a picture to the box of columns left .. right-1 and rows
// top .. bottom-1, clamped to the picture. It has no parameter text.
class AUTOMATION_EXPORT ExtractRR : public ProcessImage {
public:
    // Named "Extract a Region from an image ", with an empty box.
    ExtractRR();
    // Named "Crop an image by a BOX", as is every copy.
    ExtractRR(int top, int left, int right, int bottom, int reserved);
    ExtractRR(const ExtractRR& other);

    // Note the order: the top row comes first, then the left column.
    void init(int top, int left, int right, int bottom, int reserved);
    // A box that is empty or inverted once clamped gives a copy of the input
    // with a message.
    image* apply(const image* input) override;
    ProcessImage* copy() override;
    using ProcessImage::operator=;
    // Leaves the target unchanged; returns a new copy of other.
    [[nodiscard]] ExtractRR* operator=(ExtractRR& other);

private:
    int left_ = 0;
    int top_ = 0;
    int right_ = 0;
    int bottom_ = 0;
    int reserved_ = 0;
};
