#include "gui/foundation/vx_analyse_signals.h"

VxAnalyseSignals::VxAnalyseSignals() : QObject(nullptr)
{}

void VxAnalyseSignals::setProgressOutput(int iOperation, int iStep)
{
    emit setProgress(iOperation, iStep);
}
