#include "automation/preprocessing/scale_image_step.h"

#include "automation/detail/text.h"
#include "imagecore/image_arith.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

scaleImage::scaleImage()
{
    setName("Scale Image");
}

scaleImage::scaleImage(double factor) : scaleImage()
{
    init(factor);
}

void scaleImage::init(double factor)
{
    factor_ = factor;
    setParameter(c_format("Scaling: %f", factor).c_str());
}

image* scaleImage::apply(const image* input)
{
    if (input == nullptr)
        return nullptr;
    image* scaled = factor_ > 0 ? scale_image(input, factor_) : nullptr;
    if (scaled == nullptr) {
        vx_report("Scale Image: factor %s gives no picture, the input is kept\n",
                  vx_fixed(factor_).text);
        return create_copy_image(input);
    }
    return scaled;
}

ProcessImage* scaleImage::copy()
{
    return new scaleImage(*this);
}

scaleImage* scaleImage::operator=(scaleImage& other)
{
    return new scaleImage(other);
}
