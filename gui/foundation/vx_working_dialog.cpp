#include "gui/foundation/vx_working_dialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>

#include "gui/foundation/busy_window.h"
#include "gui/foundation/screen_fit.h"

void VxWorkingDialog::destroyDialog()
{
    if (!busy) {
        VxBaseDialog::destroyDialog();
        return;
    }
    closeAsked = true;
    askStop();
}

void VxWorkingDialog::closeEvent(QCloseEvent* event)
{
    if (!busy) {
        VxBaseDialog::closeEvent(event);
        return;
    }
    closeAsked = true;
    askStop();
    event->ignore();
}

void VxWorkingDialog::work(const std::function<void()>& job, QWidget* stop)
{
    const QPointer<VxWorkingDialog> alive(this);
    busy = true;
    stopRequested = false;
    {
        const VxBusyWindow modal(
            this, [this](bool enabled) { setFormEnabled(enabled); }, stop);
        job();
        if (!alive)
            return;
    }
    busy = false;
    if (closeAsked)
        deleteLater();
}

void VxWorkingDialog::setFormEnabled(bool enabled)
{
    for (QWidget* child :
         vx_window_content(this)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (qobject_cast<QAbstractButton*>(child) != nullptr ||
            qobject_cast<QLineEdit*>(child) != nullptr ||
            qobject_cast<QAbstractItemView*>(child) != nullptr)
            child->setEnabled(enabled);
}
