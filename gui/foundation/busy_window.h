#pragma once

// A window that works on the GUI thread for a while and processes pending
// events meanwhile, so that it repaints and answers the window manager.
// While a VxBusyWindow lives the window is application-modal: no other
// window of the program takes input. Its owner disables its form but for a
// Stop or Cancel that the work honours, so input to the form is dropped
// (events processed without user input would only put input off and replay
// it after the work, a second click on Compute included). GUI thread only.

#include <QPointer>
#include <QRect>
#include <QWidget>

class VxBusyWindow {
public:
    // Qt takes a window's modality only when it is shown: a visible window
    // is shown anew, keeping its place and size.
    explicit VxBusyWindow(QWidget* window);
    // The modality the window had before; nothing when it went meanwhile.
    ~VxBusyWindow();
    VxBusyWindow(const VxBusyWindow&) = delete;
    VxBusyWindow& operator=(const VxBusyWindow&) = delete;

private:
    QPointer<QWidget> window;
    Qt::WindowModality before;
};
