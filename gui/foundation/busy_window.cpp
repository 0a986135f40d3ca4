#include "gui/foundation/busy_window.h"

#include <QRect>
#include <QWindow>
#include <utility>

namespace {

void show_with_modality(QWidget* window, Qt::WindowModality modality)
{
    if (window->windowModality() == modality)
        return;
    if (!window->isVisible()) {
        window->setWindowModality(modality);
        return;
    }
    // Mapped again, a window the user moved would go where the window
    // manager put it first, unless its place is given; shown again, a fitted
    // window would take its wanted size (screen_fit.h).
    const QRect geometry = window->geometry();
    window->hide();
    window->setWindowModality(modality);
    window->windowHandle()->setPosition(geometry.topLeft());
    window->show();
    window->setGeometry(geometry);
}

}  // namespace

VxBusyWindow::VxBusyWindow(QWidget* window, std::function<void(bool)> setFormEnabled, QWidget* stop)
    : window(window),
      setFormEnabled(std::move(setFormEnabled)),
      before(window->windowModality()),
      focused(window->focusWidget())
{
    // Dropped first, the focus does not wander through the controls being
    // disabled, nor the scrolled content after them.
    if (focused)
        focused->clearFocus();
    show_with_modality(window, Qt::ApplicationModal);
    this->setFormEnabled(false);
    if (stop != nullptr) {
        stop->setEnabled(true);
        stop->setFocus();
    }
}

VxBusyWindow::~VxBusyWindow()
{
    if (!window)
        return;
    setFormEnabled(true);
    show_with_modality(window, before);
    if (focused)
        focused->setFocus();
}
