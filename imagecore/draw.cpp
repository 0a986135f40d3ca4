#include "imagecore/draw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// pi as the ellipse areas have always been computed with.
constexpr double kPi = 3.1417;

}  // namespace

void set_point_in_image(image* img, int column, int row, int value)
{
    if (column >= 0 && column < img->width && row >= 0 && row < img->height)
        img->pixels[static_cast<size_t>(row) * img->width + column] = value;
}

void draw_line(image* img, int value, int x0, int y0, int x1, int y1)
{
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    if (dx == 0 && dy == 0) {
        set_point_in_image(img, x0, y0, value);
        return;
    }
    // One pixel per step along the longer axis; the other coordinate
    // advances by the slope and is truncated.
    const bool along_x = std::llabs(dx) >= std::llabs(dy);
    const long long major0 = along_x ? x0 : y0;
    const long long steps = std::llabs(along_x ? dx : dy);
    const long long sign = (along_x ? dx : dy) > 0 ? 1 : -1;
    const double minor0 = along_x ? y0 : x0;
    const double slope = static_cast<double>(along_x ? dy : dx) / static_cast<double>(steps);
    const long long major_size = along_x ? img->width : img->height;
    const double minor_size = along_x ? img->height : img->width;
    // Only the steps whose major coordinate lies inside the image are walked.
    const long long first = std::max(0LL, sign > 0 ? -major0 : major0 - (major_size - 1));
    const long long last = std::min(steps, sign > 0 ? major_size - 1 - major0 : major0);
    for (long long k = first; k <= last; ++k) {
        const double minor = std::trunc(minor0 + slope * static_cast<double>(k));
        if (minor < 0 || minor >= minor_size)
            continue;
        const int major = static_cast<int>(major0 + sign * k);
        const int m = static_cast<int>(minor);
        if (along_x)
            set_point_in_image(img, major, m, value);
        else
            set_point_in_image(img, m, major, value);
    }
}

void draw_ellipse(image* img, int value, int area, int column, int row, int numerator,
                  int denominator, double angle, iqueue*)
{
    if (numerator == 0 || denominator == 0)
        return;
    const double ratio = static_cast<double>(numerator) / denominator;
    const double a_axis = std::floor(std::sqrt(std::max(area / kPi * ratio, 0.0)));
    const double b_axis = std::floor(a_axis / ratio);
    if (!(a_axis >= 1) || !(b_axis >= 1) || !std::isfinite(angle))
        return;
    // The marker is the outline with its interior: every pixel whose centre
    // lies within half a pixel of the ellipse or inside it, i.e. inside the
    // ellipse with both semi-axes grown by one half. Its implicit form is
    // a x^2 + b y^2 + 2 c x y - 1 <= 0 around the centre.
    const double ia = 1.0 / ((a_axis + 0.5) * (a_axis + 0.5));
    const double ib = 1.0 / ((b_axis + 0.5) * (b_axis + 0.5));
    const double cs = std::cos(angle);
    const double sn = std::sin(angle);
    const double a = cs * cs * ia + sn * sn * ib;
    const double b = sn * sn * ia + cs * cs * ib;
    const double c = cs * sn * (ia - ib);
    const double reach = std::sqrt(a / (a * b - c * c));
    const double top = std::max(std::ceil(row - reach), 0.0);
    const double bottom = std::min(std::floor(row + reach), img->height - 1.0);
    for (double y = top; y <= bottom; ++y) {
        const double dy = y - row;
        const double disc = c * c * dy * dy - a * (b * dy * dy - 1);
        if (disc < 0)
            continue;
        const double root = std::sqrt(disc);
        const double left = std::max(std::ceil(column + (-c * dy - root) / a), 0.0);
        const double right = std::min(std::floor(column + (-c * dy + root) / a), img->width - 1.0);
        if (left > right)
            continue;
        int* line = img->pixels + static_cast<size_t>(y) * img->width;
        std::fill(line + static_cast<int>(left), line + static_cast<int>(right) + 1, value);
    }
}

double fact(double x)
{
    double result = 1;
    for (double f = x; f > 0 && std::isfinite(result); f -= 1)
        result *= f;
    return result;
}

double crint(double x)
{
    return std::round(x);
}

double scan_gradient(double x, double y, double a, double b, double c, double d)
{
    return a * x * x + b * y * y + 2 * c * x * y + d;
}

int pos_not_reached(int x, int y, int x1, int y1)
{
    return x != x1 || y != y1;
}
