#include "gui/foundation/busy_window.h"

namespace {

void show_with_modality(QWidget* window, Qt::WindowModality modality)
{
    if (window->windowModality() == modality)
        return;
    if (!window->isVisible()) {
        window->setWindowModality(modality);
        return;
    }
    // Shown again, a fitted window would take its wanted size (screen_fit.h).
    const QRect geometry = window->geometry();
    window->hide();
    window->setWindowModality(modality);
    window->show();
    window->setGeometry(geometry);
}

}  // namespace

VxBusyWindow::VxBusyWindow(QWidget* window) : window(window), before(window->windowModality())
{
    show_with_modality(window, Qt::ApplicationModal);
}

VxBusyWindow::~VxBusyWindow()
{
    if (window)
        show_with_modality(window, before);
}
