#include "gui/foundation/vx_base_dialog.h"

#include <QCloseEvent>

#include "gui/foundation/vx_base_paths.h"
#include "gui/foundation/window_flags.h"

VxBaseDialog::VxBaseDialog(VxBasePaths* shared, QWidget* parent, const char* name, int flags)
    : VxBaseDialog(parent, name, flags)
{
    sharedPaths = shared;
    paths = new VxBasePaths(*shared, this, name, 0);
}

VxBaseDialog::VxBaseDialog(QWidget* parent, const char* name, int flags)
    : QWidget(parent, vx_qt_window_flags(flags)), flags(flags)
{
    vx_apply_close_flag(this, flags);
    setObjectName(QString::fromLatin1(name));
}

void VxBaseDialog::destroyDialog()
{
    deleteLater();
}

void VxBaseDialog::closeEvent(QCloseEvent* event)
{
    event->accept();
}
