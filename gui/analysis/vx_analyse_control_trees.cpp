// vx_analyse_control: computing both trees, on the calling thread or on two
// worker threads.
#include <QCoreApplication>
#include <QPointer>
#include <ctime>
#include <new>

#include "analyse/display/dual_analyse.h"
#include "analyse/display/visual_analyse.h"
#include "analyse/trees/polarity_tree.h"
#include "analyse/trees/regiontree.h"
#include "filter/polarity.h"
#include "gui/analysis/vx_analyse_compute_tree.h"
#include "gui/analysis/vx_analyse_control.h"
#include "gui/foundation/computation_memory.h"
#include "gui/foundation/qimage_frame.h"
#include "gui/foundation/vx_dual_tree_progress.h"
#include "imagecore/report.h"

namespace {

// A one-scale multiscale copy of the picture; memory that runs out throws.
vx_image_handle single_scale_copy(const ::image* picture)
{
    vx_image_handle copy(init_vximage_from_single_image(picture, 1, 0));
    if (copy == nullptr)
        throw std::bad_alloc();
    return copy;
}

void show_step(VxDualTreeProgress* progress, int operation, int step)
{
    if (progress != nullptr)
        progress->handleComputationProgressBar(operation, step);
    else
        QCoreApplication::processEvents();
}

}  // namespace

bool vx_analyse_control::prepareComputation()
{
    if (refusedWhileBusy("a tree computation"))
        return false;
    ruleFault.clear();
    memoryShort = false;
    const ::image* picture = displayFrame && !dual ? displayFrame->get_t_image() : working;
    if (picture == nullptr || picture->width < 1 || picture->height < 1 || brightScales < 1 ||
        darkScales < 1) {
        vx_report("vx_analyse_control: no image or no scales (%d, %d): no trees computed\n",
                  brightScales, darkScales);
        return false;
    }
    // The trees would get no attributes from a rule that cannot run.
    ruleFault = updateRuleFault();
    if (!ruleFault.isEmpty())
        return false;
    // Working and output images renewed: from the frame, where the
    //    picture may have been edited, until trees exist; from then on the
    //    frame shows the selection drawn over the working image, which
    //    stays.
    memoryShort = !vx_within_memory([this] {
        if (displayFrame && !dual)
            takeFramePicture();
        else
            renewOutput();
    });
    if (memoryShort)
        return false;
    // The old trees go, and the selection with them, which points into
    //    them.
    dropTreesAndSelection();
    return true;
}

bool vx_analyse_control::finishComputation(region_tree_handle bright, region_tree_handle dark)
{
    if (bright == nullptr || dark == nullptr) {
        vx_report("vx_analyse_control: the trees could not be computed\n");
        return false;
    }
    // Each tree numbered from its root.
    int counter = 0;
    tree_relabel(bright->root, &counter);
    counter = 0;
    tree_relabel(dark->root, &counter);
    // The attributes of every region, by the update rule: trees without
    // them would be an analysis that silently lacks the rule's columns.
    // Then an empty selection and the tree-derived state.
    bool adopted = false;
    memoryShort = !vx_within_memory([&] {
        ruleFault = updateAttributes(bright.get(), dark.get());
        if (!ruleFault.isEmpty())
            return;
        adoptTrees(std::move(bright), std::move(dark));
        adopted = true;
    });
    return adopted;
}

bool vx_analyse_control::compute_scales()
{
    if (!prepareComputation())
        return false;
    // Each polarity partitions into a destination of its own scale count.
    region_tree_handle bright;
    region_tree_handle dark;
    memoryShort = !vx_within_memory([&] {
        const vx_image_handle source(single_scale_copy(working));
        const auto tree_of = [&](int mode, int scales) -> region_tree* {
            vx_image_handle destination(init_vx_image(working->width, working->height, scales));
            return build_polarity_tree(source.get(), destination.get(), mode, scales,
                                       unit_disk_template, static_cast<unsigned>(treeMode));
        };
        bright.reset(tree_of(POLARITY_BRIGHT, brightScales));
        dark.reset(tree_of(POLARITY_DARK, darkScales));
    });
    if (memoryShort)
        return false;
    // Numbering, attributes and the new state.
    return finishComputation(std::move(bright), std::move(dark));
}

bool vx_analyse_control::compute_scale_progress(VxDualTreeProgress* progress, QLabel*)
{
    if (!prepareComputation())
        return false;

    // A source and a destination of its own scale count per worker.
    const int width = working->width;
    const int height = working->height;
    vx_image_handle brightSource;
    vx_image_handle darkSource;
    vx_image_handle brightDestination;
    vx_image_handle darkDestination;
    memoryShort = !vx_within_memory([&] {
        brightSource = single_scale_copy(working);
        darkSource = single_scale_copy(working);
        brightDestination.reset(init_vx_image(width, height, brightScales));
        darkDestination.reset(init_vx_image(width, height, darkScales));
    });
    if (memoryShort)
        return false;
    busy = true;
    functions brightTemplate = unit_disk_template;
    functions darkTemplate = unit_disk_template;

    // One worker thread per polarity.
    vx_report("THREADS\n");
    vx_analyse_compute_tree bright(brightSource.get(), brightDestination.get(), &brightTemplate,
                                   brightScales, POLARITY_BRIGHT, treeMode);
    vx_analyse_compute_tree dark(darkSource.get(), darkDestination.get(), &darkTemplate, darkScales,
                                 POLARITY_DARK, treeMode);
    const long start = static_cast<long>(std::time(nullptr));
    vx_report("Threaded Computation Start at %ld\n", start);
    bright.start(QThread::InheritPriority);
    dark.start(QThread::InheritPriority);

    // Poll until both have finished; the last steps are shown after.
    // Events run meanwhile: the bars, or even this controller, may go.
    const QPointer<VxDualTreeProgress> bars(progress);
    const QPointer<vx_analyse_control> alive(this);
    while (bright.isRunning() || dark.isRunning()) {
        if (dark.isRunning()) {
            dark.wait(100);
            show_step(bars, 2, dark.getStep());
        }
        if (bright.isRunning()) {
            bright.wait(100);
            show_step(bars, 1, bright.getStep());
        }
    }
    show_step(bars, 1, bright.getStep());
    show_step(bars, 2, dark.getStep());

    // The results, unless this controller went meanwhile.
    region_tree_handle brightResult(bright.getTree());
    region_tree_handle darkResult(dark.getTree());
    const long stop = static_cast<long>(std::time(nullptr));
    vx_report("Computation stop %ld\n Computation and I/O took %ld second(s)\n", stop,
              stop - start);
    if (!alive)
        return false;

    // The partitions are no longer needed once the trees exist.
    brightDestination.reset();
    darkDestination.reset();
    busy = false;
    if (bright.ranOutOfMemory() || dark.ranOutOfMemory()) {
        memoryShort = true;
        return false;
    }
    return finishComputation(std::move(brightResult), std::move(darkResult));
}
