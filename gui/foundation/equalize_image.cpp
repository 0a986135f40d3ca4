#include "gui/foundation/equalize_image.h"

#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <cstdlib>
#include <cstring>

#include "gui/foundation/qimage_frame.h"
#include "imagecore/grey_mapping.h"

namespace {

constexpr int logarithmic = 2;

}  // namespace

EqualizeImage::EqualizeImage(const image* img, QWidget* parent) : QWidget(parent)
{
    const size_t n = static_cast<size_t>(img->width) * static_cast<size_t>(img->height);
    values.resize(n);
    for (size_t i = 0; i < n; ++i)
        values[i] = img->dpixels != nullptr ? img->dpixels[i] : img->pixels[i];

    image* levels = create_image(img->width, img->height, 0);
    int* mapped = equalize_double_array_256(values.data(), static_cast<int>(n), 1.0, logarithmic);
    if (n > 0)
        std::memcpy(levels->pixels, mapped, n * sizeof(int));
    std::free(mapped);
    frame = new qimage_frame(levels, this);
    delete_image(levels);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(frame->initCoordinateLabel(this));
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(0, 250);
    layout->addWidget(slider);
    connect(slider, &QSlider::valueChanged, this, &EqualizeImage::updateEqualize);
}

EqualizeImage::~EqualizeImage() = default;

void EqualizeImage::updateEqualize(int iValue)
{
    int* mapped = equalize_double_array_256(values.data(), static_cast<int>(values.size()),
                                            iValue / 255.0, logarithmic);
    if (!values.empty())
        std::memcpy(frame->get_t_image()->pixels, mapped, values.size() * sizeof(int));
    std::free(mapped);
    frame->display_image_zoomed();
}
