#include "automation/preprocessing/rgb_filter.h"

#include "automation/detail/text.h"
#include "automation/preprocessing/detail/pixel_map.h"

namespace {

int weighted_channel(int value, double factor)
{
    const double weighted = value * factor;
    if (weighted >= 255)
        return 255;
    return weighted > 0 ? static_cast<int>(weighted) : 0;
}

}  // namespace

RGBFilter::RGBFilter()
{
    setName("RGB Filter Image");
}

RGBFilter::RGBFilter(double red, double green, double blue) : RGBFilter()
{
    init(red, green, blue);
}

void RGBFilter::init(double red, double green, double blue)
{
    red_ = red;
    green_ = green;
    blue_ = blue;
    setParameter(c_format("Red: %f, Green: %f, Blue: %f", red, green, blue).c_str());
}

image* RGBFilter::apply(const image* input)
{
    return map_pixels(input, [this](int p) {
        const int r = weighted_channel((p >> 16) & 255, red_);
        const int g = weighted_channel((p >> 8) & 255, green_);
        const int b = weighted_channel(p & 255, blue_);
        return (r << 16) + (g << 8) + b;
    });
}

ProcessImage* RGBFilter::copy()
{
    return new RGBFilter(*this);
}

RGBFilter* RGBFilter::operator=(RGBFilter& other)
{
    return new RGBFilter(other);
}
