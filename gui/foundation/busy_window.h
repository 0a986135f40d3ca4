#pragma once

// A window that works on the GUI thread for a while and processes pending
// events meanwhile, so that it repaints and answers the window manager.
// While a VxBusyWindow lives the window is application-modal (no other
// window of the program takes input) and its form is disabled but for the
// Stop or Cancel that the work honours, which holds the keyboard focus; so
// input to the form is dropped (events processed without user input would
// only put input off and replay it after the work, a second click on
// Compute included). The work counts as open work (open_work.h). GUI
// thread only.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "gui/foundation/open_work.h"

class VxBusyWindow {
public:
    // setFormEnabled(false) disables the window's form; `stop` (may be null)
    // is enabled after it and takes the focus. Qt takes a window's modality
    // only when it is shown: a visible window is shown anew, keeping its
    // place and size.
    VxBusyWindow(QWidget* window, std::function<void(bool)> setFormEnabled, QWidget* stop);
    // The form enabled, the modality the window had before and the focus
    // back where it was; nothing when the window went meanwhile.
    ~VxBusyWindow();
    VxBusyWindow(const VxBusyWindow&) = delete;
    VxBusyWindow& operator=(const VxBusyWindow&) = delete;

private:
    QPointer<QWidget> window;
    std::function<void(bool)> setFormEnabled;
    Qt::WindowModality before;
    QPointer<QWidget> focused;
    VxOpenWork run;
};
