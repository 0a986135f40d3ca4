#include "automation/preprocessing/intensity_transform.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "automation/detail/text.h"
#include "automation/preprocessing/detail/pixel_map.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

namespace {

bool is_blank(char c)
{
    return static_cast<unsigned char>(c) <= ' ' && c != '\0';
}

double clamp_channel(double value)
{
    return std::min(255.0, std::max(0.0, value));
}

int rounded_channel(double value)
{
    return static_cast<int>(value + 0.5);
}

}  // namespace

void RGB2HSI(double red, double green, double blue, double* hue, double* saturation,
             double* intensity)
{
    const double sum = red + green + blue;
    *intensity = sum / 3;
    if (red == green && green == blue) {
        *saturation = 0;
        *hue = 1.0;
        return;
    }
    *saturation = 1 - 3 * std::min({red, green, blue}) / sum;
    const double num = 0.5 * ((red - green) + (red - blue));
    const double den = std::sqrt((red - green) * (red - green) + (red - blue) * (green - blue));
    // Rounding can carry the quotient a hair past +-1, where acos has no value.
    *hue = ProcessImage::deg(std::acos(std::clamp(num / den, -1.0, 1.0)));
    if (blue > green)
        *hue = 360 - *hue;
}

void HSI2RGB(double hue, double saturation, double intensity, double* red, double* green,
             double* blue)
{
    const int sector = hue <= 120 ? 0 : hue <= 240 ? 1 : 2;
    const double a = hue - 120 * sector;
    const double t = (1 - saturation) / 3;
    const double u =
        (1 + saturation * std::cos(ProcessImage::rad(a)) / std::cos(ProcessImage::rad(60 - a))) / 3;
    double r = 0;
    double g = 0;
    double b = 0;
    if (sector == 0) {
        b = t;
        r = u;
        g = 1 - (r + b);
    } else if (sector == 1) {
        r = t;
        g = u;
        b = 1 - (r + g);
    } else {
        g = t;
        b = u;
        r = 1 - (g + b);
    }
    *red = clamp_channel(r * 3 * intensity);
    *green = clamp_channel(g * 3 * intensity);
    *blue = clamp_channel(b * 3 * intensity);
}

IntensityTransform::IntensityTransform()
{
    setName("Intensity Transformation");
}

IntensityTransform::IntensityTransform(const char* polygon) : IntensityTransform()
{
    init(polygon);
}

void IntensityTransform::init(const char* polygon)
{
    const char* text = polygon != nullptr ? polygon : "";
    setParameter(c_format("Distribution Polygon: %s", text).c_str());
    int count = 0;
    const char* p = text;
    while (true) {
        while (is_blank(*p))
            ++p;
        if (*p == '\0')
            break;
        const char* comma = std::strchr(p, ',');
        if (comma == nullptr) {
            vx_report("Intensity Transformation: \"%s\" is no x,y pair\n", p);
            break;
        }
        const char* end = comma + 1;
        while (*end != '\0' && !is_blank(*end))
            ++end;
        if (count == kMaxPoints) {
            vx_report("Intensity Transformation: only the first %d points are used\n", kMaxPoints);
            break;
        }
        x_[count] = vx_atof(std::string(p, comma).c_str());
        y_[count] = vx_atof(std::string(comma + 1, end).c_str());
        ++count;
        p = end;
    }
    if (count == 0) {
        vx_report("Intensity Transformation: no points in \"%s\", the polygon stays (0,0) (1,1)\n",
                  text);
        x_[0] = y_[0] = 0;
        x_[1] = y_[1] = 1;
        count = 2;
    }
    count_ = count;
}

double IntensityTransform::map(double h) const
{
    for (int k = 0; k + 1 < count_; ++k)
        if (x_[k] < h && h <= x_[k + 1])
            return y_[k] + (h - x_[k]) * (y_[k + 1] - y_[k]) / (x_[k + 1] - x_[k]);
    return y_[0];
}

image* IntensityTransform::apply(const image* input)
{
    return map_pixels(input, [this](int p) {
        double hue = 0;
        double saturation = 0;
        double intensity = 0;
        RGB2HSI((p >> 16) & 255, (p >> 8) & 255, p & 255, &hue, &saturation, &intensity);
        double r = 0;
        double g = 0;
        double b = 0;
        HSI2RGB(hue, saturation, map(intensity / 255) * 255, &r, &g, &b);
        return (rounded_channel(r) << 16) + (rounded_channel(g) << 8) + rounded_channel(b);
    });
}

ProcessImage* IntensityTransform::copy()
{
    return new IntensityTransform(*this);
}

IntensityTransform* IntensityTransform::operator=(IntensityTransform& other)
{
    return new IntensityTransform(other);
}
