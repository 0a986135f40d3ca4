// vx_new_project_dialog: Start, its refusals, and the dialog while the trees
// are computed.
#include <unistd.h>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <algorithm>
#include <cstdint>

#include "gui/analysis/vx_analyse_control.h"
#include "gui/analysis/vx_new_project_dialog.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/screen_fit.h"
#include "gui/foundation/vx_dual_tree_progress.h"
#include "gui/foundation/vx_message_popup.h"

namespace {

const QString not_started = QStringLiteral("Computation not started");

// Bytes of physical memory; 0 when the system does not tell.
std::int64_t physical_memory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && pageSize > 0 ? std::int64_t{pages} * pageSize : 0;
}

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
    // An estimate of what one polarity's computation holds at once: its
    // source and destination images and the tree built from them.
    const image* picture = frame()->get_t_image();
    const std::int64_t scales = std::max(control->oscales(), control->cscales());
    const std::int64_t need = (2 + 2 * scales) * picture->width * picture->height * 4;
    const std::int64_t memory = physical_memory();
    if (memory == 0 || need <= memory / 2)
        return true;
    const auto megabytes = [](std::int64_t bytes) { return QString::number(bytes >> 20); };
    vx_message(not_started, QStringLiteral("%1 scales of a %2 x %3 image need %4 MB per tree,\n"
                                           "more than half of the %5 MB of memory.")
                                .arg(scales)
                                .arg(picture->width)
                                .arg(picture->height)
                                .arg(megabytes(need), megabytes(memory)));
    return false;
}

void vx_new_project_dialog::setFormEnabled(bool enabled)
{
    for (QWidget* child :
         vx_window_content(this)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != progress && child != stepLabel)
            child->setEnabled(enabled);
}
