// vx_new_project_dialog: Start, its refusals, and the dialog while the trees
// are computed.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>

#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_new_project_dialog.h"
#include "gui/foundation/computation_memory.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/vx_dual_tree_progress.h"
#include "gui/foundation/vx_message_popup.h"

namespace {

const QString not_started = QStringLiteral("Computation not started");

}  // namespace

void vx_new_project_dialog::accept()
{
    if (working() || !scalesAcceptable() || !imageAcceptable() || !memoryAcceptable())
        return;
    // 1.-3. Events run while the trees are computed: this dialog, or the
    //       controller, may go meanwhile.
    const QPointer<vx_new_project_dialog> alive(this);
    bool computed = false;
    work([&] {
        progress->resetSteps(control->oscales());
        frame()->convertGreyEuclidean();
        computed = control->compute_scale_progress(progress, stepLabel);
    });
    if (!alive)
        return;
    if (control && !computed && control->ranOutOfMemory()) {
        const image* picture = control->image();
        vx_message(QStringLiteral("Not enough memory"),
                   "Memory ran out while the trees were computed:\n" +
                       vx_tree_computation_need(picture->width, picture->height, control->oscales(),
                                                control->cscales()) +
                       ".\nNo trees were kept.");
        return;
    }
    if (control && !computed) {
        vx_message(not_started, control->ruleFailure().isEmpty()
                                    ? QStringLiteral("The trees could not be computed.")
                                    : control->ruleFailure());
        return;
    }
    // 4.-5. The dialog goes, its form disabled: no second Start meanwhile.
    //       Without a receiver nobody takes the controller over.
    setFormEnabled(false);
    if (control) {
        handedOn =
            isSignalConnected(QMetaMethod::fromSignal(&vx_new_project_dialog::computationDone));
        emit computationDone(control);
    }
    deleteLater();
}

bool vx_new_project_dialog::scalesAcceptable()
{
    const auto inRange = [](int scales) { return scales >= 2 && scales <= largest_scale_count; };
    if (scalesEdit->hasAcceptableInput() && inRange(control->oscales()) &&
        inRange(control->cscales()))
        return true;
    vx_message(not_started,
               QStringLiteral("The number of scales must be a whole number from 2 to %1.")
                   .arg(largest_scale_count));
    return false;
}

bool vx_new_project_dialog::imageAcceptable()
{
    const image* picture = frame()->get_t_image();
    if (control->imageLoaded() && picture->width >= 1 && picture->height >= 1)
        return true;
    vx_message(not_started, "No image is loaded:\n" + QFile::decodeName(control->imagename()));
    return false;
}

bool vx_new_project_dialog::memoryAcceptable()
{
    // Both polarities are computed at once.
    const image* picture = frame()->get_t_image();
    const qint64 need = vx_tree_computation_bytes(picture->width, picture->height,
                                                  control->oscales(), control->cscales());
    const qint64 left = vx_memory_left();
    if (left < 0 || need <= left)
        return true;
    vx_message(not_started, vx_tree_computation_need(picture->width, picture->height,
                                                     control->oscales(), control->cscales()) +
                                ",\nmore than the " + vx_megabytes(left) +
                                " this program may still take.");
    return false;
}

void vx_new_project_dialog::setFormEnabled(bool enabled)
{
    for (QWidget* child :
         vx_window_content(this)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != progress && child != stepLabel)
            child->setEnabled(enabled);
}
