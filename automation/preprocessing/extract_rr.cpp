#include "automation/preprocessing/extract_rr.h"

#include <algorithm>

#include "imagecore/image_arith.h"
#include "imagecore/report.h"

namespace {
constexpr const char* kBoxName = "Crop an image by a BOX";
}  // namespace

ExtractRR::ExtractRR()
{
    setName("Extract a Region from an image ");
}

ExtractRR::ExtractRR(int top, int left, int right, int bottom, int reserved)
{
    setName(kBoxName);
    init(top, left, right, bottom, reserved);
}

ExtractRR::ExtractRR(const ExtractRR& other) : ProcessImage(other)
{
    setName(kBoxName);
    init(other.top_, other.left_, other.right_, other.bottom_, other.reserved_);
}

void ExtractRR::init(int top, int left, int right, int bottom, int reserved)
{
    top_ = top;
    left_ = left;
    right_ = right;
    bottom_ = bottom;
    reserved_ = reserved;
}

image* ExtractRR::apply(const image* input)
{
    if (input == nullptr)
        return nullptr;
    const int x0 = std::max(left_, 0);
    const int y0 = std::max(top_, 0);
    const int x1 = std::min(right_, input->width);
    const int y1 = std::min(bottom_, input->height);
    if (x0 >= x1 || y0 >= y1) {
        vx_report(
            "Crop: the box %d,%d .. %d,%d holds no pixel of the %d x %d picture, the input "
            "is kept\n",
            left_, top_, right_, bottom_, input->width, input->height);
        return create_copy_image(input);
    }
    return crop_image(input, x0, y0, x1, y1);
}

ProcessImage* ExtractRR::copy()
{
    return new ExtractRR(*this);
}

ExtractRR* ExtractRR::operator=(ExtractRR& other)
{
    return new ExtractRR(other);
}
