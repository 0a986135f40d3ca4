// vx_analyse_control: the working and output images and the display frame.
#include <QFile>
#include <QString>

#include "analyse/display/dual_analyse.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/foundation/image_loading.h"
#include "gui/foundation/qimage_frame.h"
#include "imagecore/report.h"

namespace {

long pixel_count(const image* img)
{
    return img != nullptr ? static_cast<long>(img->width) * img->height : 0;
}

}  // namespace

image* vx_analyse_control::picture_copy(const ::image* src)
{
    // A picture without pixels has no array to copy.
    return pixel_count(src) > 0 ? create_copy_image(src) : create_image(0, 0, 0);
}

qimage_frame* vx_analyse_control::pdisplay() const
{
    return displayFrame;
}

void vx_analyse_control::image(::image* img)
{
    setWorking(img);
}

void vx_analyse_control::setWorking(::image* img)
{
    working = img;
    stretchedGrey.reset();
    if (pixel_count(working) <= 0)
        return;
    update_image_struct(working);
    if (working->min < 0 || working->max > 255)
        stretchedGrey.reset(vx_display_grey(working));
}

void vx_analyse_control::takeWorking(::image* img)
{
    if (img != working)
        delete_image(working);
    setWorking(img);
}

void vx_analyse_control::takeFramePicture()
{
    takeWorking(picture_copy(displayFrame->get_t_image()));
    renewOutput();
}

image* vx_analyse_control::grey() const
{
    return stretchedGrey ? stretchedGrey.get() : working;
}

void vx_analyse_control::renewOutput()
{
    image_handle fresh(picture_copy(grey()));
    // A frame made by init_display shows the output's own pixels.
    if (displayFrame && output && pixel_count(output.get()) > 0 &&
        displayFrame->get_t_image()->pixels == output->pixels) {
        if (fresh->width != output->width || fresh->height != output->height)
            displayFrame->reset_qimage(fresh.get());
        displayFrame->display_image(fresh->pixels);
    }
    output = std::move(fresh);
}

void vx_analyse_control::ownFrame(qimage_frame* frame)
{
    displayFrame = frame;
    ownsFrame = true;
}

bool vx_analyse_control::refusedWhileBusy(const char* operation) const
{
    if (busy)
        vx_report("vx_analyse_control: %s ignored while the trees are computed\n", operation);
    return busy;
}

void vx_analyse_control::load_image(const char* file)
{
    if (refusedWhileBusy("load_image"))
        return;
    if (file == nullptr)
        file = "";
    if (displayFrame)
        displayFrame->load_image(file);
    else
        ownFrame(new qimage_frame(file, nullptr));
    takeFramePicture();
    fileImage = pixel_count(working) > 0;
}

bool vx_analyse_control::load_image(const char* file, QString& failure)
{
    if (refusedWhileBusy("load_image")) {
        failure = QStringLiteral("The trees are being computed.");
        return false;
    }
    if (!displayFrame)
        ownFrame(new qimage_frame(0, 0, nullptr));
    if (!displayFrame->load_image(QFile::decodeName(file), failure))
        return false;
    takeFramePicture();
    fileImage = pixel_count(working) > 0;
    return true;
}

void vx_analyse_control::update_image(::image* img)
{
    if (img == nullptr)
        return;
    if (refusedWhileBusy("update_image")) {
        delete_image(img);
        return;
    }
    takeWorking(img);
    if (displayFrame)
        displayFrame->reset_qimage(working);
    renewOutput();
    if (displayFrame)
        display();
}

void vx_analyse_control::display(qimage_frame* frame)
{
    if (refusedWhileBusy("display"))
        return;
    takeWorking(frame != nullptr ? picture_copy(frame->get_t_image()) : nullptr);
    // A frame of the constructors that nobody took over would be lost.
    const bool lost = frame == nullptr && ownsFrame && displayFrame && !displayFrame->parent();
    if ((frame != nullptr || lost) && displayFrame != frame)
        delete displayFrame;
    ownsFrame = ownsFrame && frame != nullptr && frame == displayFrame;
    displayFrame = frame;
}

void vx_analyse_control::display()
{
    emit displayVxAnalyseControl();
    if (!displayFrame)
        return;
    displayFrame->display_image_zoomed();
    if (dual)
        displayFrame->setToolTip(QString::asprintf("%d Bright Regions\n%d Dark Regions",
                                                   dual->active_bright, dual->active_dark));
}

qimage_frame* vx_analyse_control::init_display(QWidget* parent)
{
    delete displayFrame;
    if (!output)
        output.reset(create_image(0, 0, 0));
    displayFrame = new qimage_frame(output->width, output->height, output->pixels, parent, nullptr,
                                    -1, nullptr);
    ownsFrame = false;
    if (working == nullptr)
        setWorking(picture_copy(output.get()));
    return displayFrame;
}

void vx_analyse_control::dva_update_output()
{
    // The editors close on the signal; what they showed is redrawn here.
    brightEditor.shown = false;
    darkEditor.shown = false;
    emit close_edit_selections();
    redrawSelection();
}

void vx_analyse_control::redrawSelection()
{
    if (dual && output && grey() != nullptr) {
        contour_update_dual_analyse(dual.get());
        if (displayMode == 1)
            update_dual_analyse_output(output.get(), grey(), dual.get());
        else if (displayMode == 0)
            update_dual_analyse_contour_output(output.get(), grey(), dual.get());
    }
    display();
}
