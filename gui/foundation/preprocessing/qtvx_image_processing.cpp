#include "gui/foundation/preprocessing/qtvx_image_processing.h"

#include <algorithm>
#include <cstddef>

#include "gui/foundation/qimage_frame.h"
#include "imagecore/vx_image.h"

namespace {

constexpr int paletted_mode = 1;

// Whether the frame's grey palette shows the picture: a colour word would
// index far beyond the palette and draw nothing.
bool is_grey(const image* img)
{
    if (img->kind == IMAGE_GREY16)
        return true;
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    return std::all_of(img->pixels, img->pixels + n, [](int v) { return v >= 0 && v <= 255; });
}

}  // namespace

QTVxImageProcessing::QTVxImageProcessing(qimage_frame*)
{}

QTVxImageProcessing::QTVxImageProcessing() = default;

vx_image* QTVxImageProcessing::readImage(const char* file)
{
    if (file == nullptr)
        return nullptr;
    qimage_frame frame(file, nullptr);
    if (frame.ImageWidth() == 0 || frame.ImageHeight() == 0)
        return nullptr;
    return init_vximage_from_single_image(frame.get_t_image(), 1, 0);
}

void QTVxImageProcessing::writeImage(const char* file, image* img)
{
    if (file == nullptr || img == nullptr || img->pixels == nullptr)
        return;
    qimage_frame frame(img, nullptr);
    if (is_grey(img))
        frame.setDisplayMode(paletted_mode);
    frame.write_image(file, "PNG");
}

void QTVxImageProcessing::display()
{}
