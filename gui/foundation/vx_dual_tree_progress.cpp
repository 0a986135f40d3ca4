#include "gui/foundation/vx_dual_tree_progress.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/foundation/window_flags.h"
#include "imagecore/report.h"

namespace {

enum ProgressCode {
    bright_partition = 1,
    dark_partition = 2,
    bright_region_graph = 11,
    dark_region_graph = 12,
};

QProgressBar* progress_row(QVBoxLayout* layout, const char* text, QLabel*& label, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    label = new QLabel(QString::fromLatin1(text), parent);
    auto* bar = new QProgressBar(parent);
    row->addWidget(label);
    row->addWidget(bar);
    layout->addLayout(row);
    return bar;
}

}  // namespace

VxDualTreeProgress::VxDualTreeProgress(int steps, QWidget* parent, const char* name, int flags)
    : QWidget(parent, vx_qt_window_flags(flags))
{
    vx_apply_close_flag(this, flags);
    setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    bright = progress_row(layout, "Bright Steps", brightLabel, this);
    dark = progress_row(layout, "Dark Steps", darkLabel, this);
    layout->addStretch();
    resetSteps(steps);
    reset();
    show();
}

void VxDualTreeProgress::resetSteps(int steps)
{
    this->steps = steps;
    maximum = 2 * steps;
    bright->setMaximum(maximum);
    dark->setMaximum(maximum);
}

void VxDualTreeProgress::reset()
{
    recordedBright = -1;
    recordedDark = -1;
    bright->reset();
    dark->reset();
}

void VxDualTreeProgress::handleComputationProgressBar(int operation, int value)
{
    vx_report("handleComputationProgressBar _IN %d\n", value);
    switch (operation) {
    case bright_partition: recordedBright = std::max(value, 0); break;
    case dark_partition: recordedDark = std::max(value, 0); break;
    case bright_region_graph: recordedBright = std::max(value + steps, 0); break;
    case dark_region_graph: recordedDark = std::max(value + steps, 0); break;
    default: break;
    }
    if (QThread::currentThread() == thread()) {
        showRecorded();
        QCoreApplication::processEvents();
    } else if (!updatePosted.exchange(true)) {
        QMetaObject::invokeMethod(
            this, [this] { showRecorded(); }, Qt::QueuedConnection);
    }
    vx_report("handleComputationProgressBar OUT %d\n", value);
}

void VxDualTreeProgress::getProgress(int operation, int step, void* widget)
{
    static_cast<VxDualTreeProgress*>(widget)->handleComputationProgressBar(operation, step + 1);
}

void VxDualTreeProgress::setProgress(int Operation, int iStep)
{
    vx_report("Signal Progress received\n");
    handleComputationProgressBar(Operation, iStep + 1);
}

void VxDualTreeProgress::setBright(int iStep)
{
    vx_report("Should Repaint Bright %d of %d\n\n", iStep, maximum);
    setBar(bright, iStep);
}

void VxDualTreeProgress::setDark(int iStep)
{
    vx_report("Should Repaint Dark %d of %d\n\n", iStep, maximum);
    setBar(dark, iStep);
}

void VxDualTreeProgress::showRecorded()
{
    updatePosted = false;
    const int brightValue = recordedBright.exchange(-1);
    if (brightValue >= 0)
        setBar(bright, brightValue);
    const int darkValue = recordedDark.exchange(-1);
    if (darkValue >= 0)
        setBar(dark, darkValue);
}

void VxDualTreeProgress::setBar(QProgressBar* bar, int value)
{
    bar->setValue(std::clamp(value, 0, maximum));
}
