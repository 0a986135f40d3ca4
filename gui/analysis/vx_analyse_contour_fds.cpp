#include "gui/analysis/vx_analyse_contour_fds.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtMath>
#include <algorithm>

#include "analyse/fourier/fourier_coefficients.h"
#include "analyse/fourier/lFouriercontour.h"
#include "analyse/trees/region_types.h"
#include "gui/foundation/forms/form_widgets.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/window_flags.h"
#include "imagecore/image.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

namespace {

constexpr int window_flags = VX_DELETE_ON_CLOSE | Qt::Window;

// Background words of the three background modes, and the drawing words of
// the centred reconstruction, the one in place and the region's contour:
// palette colours over the image or black, grey levels over grey.
constexpr int grey_background = 100;
constexpr int background_words[3] = {0, 0, grey_background};
struct drawing_words {
    int centred, placed, own;
};
constexpr drawing_words colour_words{1535, 1279, 511};
constexpr drawing_words grey_words{10, 255, 170};
const char* const background_texts[3] = {"No Image", "Grey", "Image"};

// A rebuilt coordinate as a pixel column or row: truncated, shifted, and
// only when it lies inside 0 .. limit - 1 (NaN and huge values never do).
bool pixel_coordinate(double value, int shift, int limit, int& out)
{
    if (!(value > -1e9 && value < 1e9))
        return false;
    out = static_cast<int>(value) + shift;
    return out >= 0 && out < limit;
}

// The view at least as wide as the widest line of the text, beside a
// vertical scroll bar: a wrapped number would read as several.
void widen_to_lines(QPlainTextEdit* view, const QString& text)
{
    const QFontMetrics metrics(view->font());
    int widest = 0;
    for (const QString& line : text.split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int margins = 2 * (view->frameWidth() + qCeil(view->document()->documentMargin())) +
                        view->cursorWidth() +
                        view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    view->setMinimumWidth(std::max(view->minimumWidth(), widest + margins));
}

}  // namespace

vx_analyse_contour_fds::vx_analyse_contour_fds(int w, int h, tregionnode* region, const image* img,
                                               QWidget* parent, const char* title)
    : QWidget(parent, vx_qt_window_flags(window_flags)),
      width(std::max(w, 0)),
      height(std::max(h, 0))
{
    vx_apply_close_flag(this, window_flags);
    setObjectName(QString::fromLatin1(title));
    setWindowTitle(QString::fromLatin1(title));

    // 1. Contour, counts and the arrays, sized for the largest sample count
    //    the controls reach: the power of two above the initial count.
    if (region != nullptr && region->contour != nullptr && region->contour_size > 0)
        contour.assign(region->contour, region->contour + region->contour_size);
    const int length = static_cast<int>(contour.size());
    maxCoeffs = std::max(2, static_cast<int>(0.3 * length));
    initialSamples = std::max(2, pow_of_2_samples(length));
    samples = initialSamples;
    vx_report("CLen %d, Samples%d\n", length, initialSamples);
    const auto capacity = static_cast<size_t>(pow_of_2_samples(initialSamples));
    for (std::vector<double>* a :
         {&descRe, &descIm, &fftRe, &fftIm, &orderedMag, &orderedPhase, &reducedDescRe,
          &reducedDescIm, &reducedFftRe, &reducedFftIm, &centredX, &centredY, &placedX, &placedY})
        a->assign(capacity, 0.0);

    // 2. The drawing buffer, the image copy and the frame over the buffer.
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    drawing.assign(pixels, grey_background);
    imageCopy.assign(pixels, 0);
    if (img != nullptr && img->pixels != nullptr)
        std::copy_n(img->pixels,
                    std::min(pixels, static_cast<size_t>(std::max(img->width, 0)) *
                                         static_cast<size_t>(std::max(img->height, 0))),
                    imageCopy.begin());
    display = std::make_unique<qimage_frame>(width, height, drawing.data(), this, nullptr, 0);
    display->createGreyValueDisplayPalette1();
    display->setDisplayMode(1);

    buildLayout();
    set_samples_from_slider(length);
    show();
}

vx_analyse_contour_fds::~vx_analyse_contour_fds() = default;

void vx_analyse_contour_fds::buildLayout()
{
    // Only the picture scrolls: the controls and the numbers stay in view
    // beside a picture wider than the screen.
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    auto* controls = new QVBoxLayout;
    row->addLayout(controls);
    controls->addWidget(new QLabel(QStringLiteral("Coefficients"), this));
    auto* arrows = new QHBoxLayout;
    controls->addLayout(arrows);
    auto* down = new QToolButton(this);
    down->setArrowType(Qt::LeftArrow);
    coeffSlider = new QSlider(Qt::Horizontal, this);
    coeffSlider->setRange(2, maxCoeffs);
    auto* up = new QToolButton(this);
    up->setArrowType(Qt::RightArrow);
    arrows->addWidget(down);
    arrows->addWidget(coeffSlider);
    arrows->addWidget(up);
    coeffField = vx_form::numberField(QString::number(coeffs), 2, maxCoeffs, this);
    controls->addWidget(coeffField);
    controls->addWidget(new QLabel(QStringLiteral("Samples"), this));
    samplesSlider = new QSlider(Qt::Horizontal, this);
    samplesSlider->setRange(2, initialSamples);
    controls->addWidget(samplesSlider);
    samplesField = vx_form::numberField(QString::number(samples), 2, initialSamples, this);
    controls->addWidget(samplesField);
    QPushButton* list = vx_form::fixedButton("Coeffs", this);
    controls->addWidget(list);
    controls->addStretch();
    backgroundButton = vx_form::fixedButton(background_texts[0], this);
    controls->addWidget(backgroundButton);

    auto* picture = new QHBoxLayout(vx_scrolled_part(this, row));
    picture->setContentsMargins(0, 0, 0, 0);
    picture->setSpacing(0);
    vx_form::addFrameColumn(picture, display.get(), this);
    coefficientView = vx_form::textView("Coefficients", this);
    coefficientView->setLineWrapMode(QPlainTextEdit::NoWrap);
    widen_to_lines(coefficientView, QStringLiteral("<Threshold>\n0.000000"));
    row->addWidget(coefficientView);

    connect(coeffSlider, &QSlider::valueChanged, this,
            &vx_analyse_contour_fds::set_coeffs_from_slider);
    connect(coeffField, &QLineEdit::textChanged, this,
            &vx_analyse_contour_fds::set_coeffs_and_slider);
    connect(coeffField, &QLineEdit::returnPressed, this, &vx_analyse_contour_fds::update_display);
    connect(samplesSlider, &QSlider::sliderMoved, this,
            &vx_analyse_contour_fds::set_samples_from_slider);
    connect(samplesField, &QLineEdit::textChanged, this,
            &vx_analyse_contour_fds::set_samples_and_slider);
    connect(samplesField, &QLineEdit::returnPressed, this, &vx_analyse_contour_fds::update_display);
    connect(down, &QToolButton::clicked, this, &vx_analyse_contour_fds::down_coeffs);
    connect(up, &QToolButton::clicked, this, &vx_analyse_contour_fds::up_coeffs);
    connect(list, &QPushButton::clicked, this, &vx_analyse_contour_fds::show_coeffs);
    connect(backgroundButton, &QPushButton::clicked, this,
            &vx_analyse_contour_fds::toggle_background_image);
}

void vx_analyse_contour_fds::computeCoefficients()
{
    fftcoeffs(contour.data(), width, static_cast<int>(contour.size()), samples, descRe.data(),
              descIm.data(), fftRe.data(), fftIm.data(), orderedMag.data(), orderedPhase.data());
    // Entries above the sample count are listed as zeros, not as what an
    // earlier count left there.
    for (std::vector<double>* a : {&orderedMag, &orderedPhase})
        std::fill(a->begin() + samples, a->end(), 0.0);
}

void vx_analyse_contour_fds::put(int column, int row, int value)
{
    drawing[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(column)] =
        value;
}

void vx_analyse_contour_fds::update_display()
{
    // 1. The reduction works in place: on copies of the kept coefficients.
    const auto n = static_cast<std::ptrdiff_t>(samples);
    std::copy(descRe.begin(), descRe.begin() + n, reducedDescRe.begin());
    std::copy(descIm.begin(), descIm.begin() + n, reducedDescIm.begin());
    std::copy(fftRe.begin(), fftRe.begin() + n, reducedFftRe.begin());
    std::copy(fftIm.begin(), fftIm.begin() + n, reducedFftIm.begin());
    coeff_reduce(samples, coeffs, reducedDescRe.data(), reducedDescIm.data(), reducedFftRe.data(),
                 reducedFftIm.data(), placedX.data(), placedY.data(), centredX.data(),
                 centredY.data());

    // 2. Background.
    if (background == 0)
        drawing = imageCopy;
    else
        std::fill(drawing.begin(), drawing.end(), background_words[background]);

    // 3. The points, each only where its column and row lie in the image.
    const drawing_words& words = background == 2 ? grey_words : colour_words;
    const int length = static_cast<int>(contour.size());
    const long long pixels = static_cast<long long>(drawing.size());
    for (int i = 0; i < samples; ++i) {
        int column = 0;
        int row = 0;
        if (pixel_coordinate(centredX[i], width / 2, width, column) &&
            pixel_coordinate(centredY[i], height / 2, height, row))
            put(column, row, words.centred);
        if (pixel_coordinate(placedX[i], 0, width, column) &&
            pixel_coordinate(placedY[i], 0, height, row))
            put(column, row, words.placed);
        if (i < length && contour[i] >= 0 && contour[i] < pixels)
            drawing[static_cast<size_t>(contour[i])] = words.own;
    }
    display->display_image(drawing.data());
}

void vx_analyse_contour_fds::set_coeffs_and_slider(QString qsInput)
{
    const int value = vx_form::numberInRange(qsInput, 2, maxCoeffs, 0);
    if (value == 0)
        return;
    coeffs = value;
    coeffSlider->setValue(value);
}

void vx_analyse_contour_fds::set_coeffs_from_slider(int ivalue)
{
    coeffs = std::clamp(ivalue, 2, maxCoeffs);
    coeffField->setText(QString::number(coeffs));
    update_display();
}

void vx_analyse_contour_fds::show_coeffs()
{
    QString text = QString::asprintf("FDs:\n %d\n<Threshold>\n", coeffs);
    for (int i = 0; i < coeffs; ++i)
        text += QString::fromLatin1(vx_fixed(orderedMag[static_cast<size_t>(i)]).text) + '\n';
    text += QStringLiteral("#FDs\n");
    widen_to_lines(coefficientView, text);
    coefficientView->setPlainText(text);
}

void vx_analyse_contour_fds::set_samples_and_slider(QString qsInput)
{
    const int value = vx_form::numberInRange(qsInput, 2, initialSamples, 0);
    if (value == 0)
        return;
    samplesSlider->setValue(value);
    samples = pow_of_2_samples(value);
    computeCoefficients();
}

void vx_analyse_contour_fds::set_samples_from_slider(int ivalue)
{
    samples = pow_of_2_samples(std::clamp(ivalue, 2, initialSamples));
    showSampleCount();
    computeCoefficients();
    update_display();
}

void vx_analyse_contour_fds::showSampleCount()
{
    // The field's slot would take the shown count for a typed one, and the
    // slider's a snap during a drag for a move, and double it.
    const QSignalBlocker fieldBlocker(samplesField);
    const QSignalBlocker sliderBlocker(samplesSlider);
    samplesField->setText(QString::number(samples));
    samplesSlider->setValue(samples);
}

void vx_analyse_contour_fds::down_coeffs()
{
    if (coeffs > 2)
        coeffField->setText(QString::number(coeffs - 1));
}

void vx_analyse_contour_fds::up_coeffs()
{
    if (coeffs + 1 < maxCoeffs)
        coeffField->setText(QString::number(coeffs + 1));
}

void vx_analyse_contour_fds::toggle_background_image()
{
    background = (background + 1) % 3;
    backgroundButton->setText(QString::fromLatin1(background_texts[background]));
    update_display();
}
