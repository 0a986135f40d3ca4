#include "automation/preprocessing/process_image.h"

#include <string>

#include "automation/detail/text.h"

namespace {
constexpr double kPi = 3.14159265358979;
}  // namespace

ProcessImage::ProcessImage() : parameter_{}, name_{}
{}

ProcessImage::~ProcessImage() = default;

image* ProcessImage::apply(const image* input)
{
    return input != nullptr ? create_copy_image(input) : nullptr;
}

ProcessImage* ProcessImage::copy()
{
    auto* step = new ProcessImage();
    step->setName("Dummy Copy");
    return step;
}

ProcessImage* ProcessImage::operator=(ProcessImage&)
{
    return ProcessImage::copy();
}

double ProcessImage::deg(double x)
{
    return x / kPi * 180;
}

double ProcessImage::rad(double x)
{
    return x / 180 * kPi;
}

void ProcessImage::setName(const char* name)
{
    copy_cut(name_, sizeof name_, name, "ProcessImage name");
}

void ProcessImage::setParameter(const char* text)
{
    copy_cut(parameter_, sizeof parameter_, text, "ProcessImage parameter");
}
