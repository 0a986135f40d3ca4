#include "gui/foundation/grey_conversion.h"

#include <algorithm>
#include <cmath>

int vx_grey_value(VxGreyRule rule, int red, int green, int blue)
{
    switch (rule) {
    case VxGreyRule::MaxNormalized: return std::max({red, green, blue});
    case VxGreyRule::GreyNormalized: return static_cast<int>((red + green + blue) / 3.0 + 0.5);
    case VxGreyRule::GreyEuclidean:
        if (red == green && green == blue)
            return red;
        return static_cast<int>(
            std::sqrt(static_cast<double>(red * red + green * green + blue * blue)) /
            443.40500673763256 * 256);
    }
    return 0;
}

void vx_grey_words(const QImage& picture, VxGreyRule rule, int* words)
{
    const int w = picture.width();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb pixel = picture.pixel(x, y);
            words[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
                vx_grey_value(rule, qRed(pixel), qGreen(pixel), qBlue(pixel));
        }
}
