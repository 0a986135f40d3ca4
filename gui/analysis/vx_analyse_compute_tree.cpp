#include "gui/analysis/vx_analyse_compute_tree.h"

#include <string>

#include "analyse/trees/polarity_tree.h"
#include "gui/foundation/computation_memory.h"
#include "imagecore/report.h"

vx_analyse_compute_tree::vx_analyse_compute_tree() = default;

vx_analyse_compute_tree::vx_analyse_compute_tree(vx_image* source, vx_image* destination,
                                                 functions* tmpl, int scales, int mode,
                                                 int generationMode)
    : source(source),
      destination(destination),
      tmpl(tmpl),
      scales(scales),
      mode(mode),
      generationMode(generationMode)
{}

void vx_analyse_compute_tree::setProgress(int, int k)
{
    step = baseStep.load() + k;
}

void vx_analyse_compute_tree::sendProgressSignal(int kind, int k, void* self)
{
    vx_report("Signal Progress Set \n");
    auto* worker = static_cast<vx_analyse_compute_tree*>(self);
    // The region graph's first step (kinds 11 and 12) starts its phase where
    // the partition's steps ended.
    if (kind >= 11 && k == 0)
        worker->baseStep = worker->step.load();
    worker->step = worker->baseStep.load() + k + 1;
}

void vx_analyse_compute_tree::run()
{
    step = 0;
    baseStep = 0;
    memoryShort = false;
    if (source == nullptr || destination == nullptr || tmpl == nullptr)
        return;
    memoryShort = !vx_within_memory([this] {
        tree.store(build_polarity_tree_progress(source, destination, mode, scales, *tmpl,
                                                static_cast<unsigned>(generationMode), this,
                                                sendProgressSignal),
                   std::memory_order_release);
    });
}

const char* set_progress_output(const char* text, int number)
{
    thread_local std::string output;
    output = text != nullptr ? text : "";
    if (number >= 0)
        output += ", " + std::to_string(number) + "\n";
    return output.c_str();
}
