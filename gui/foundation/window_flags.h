#pragma once

// The window flags of the system's widgets are plain ints. Most bits are
// Qt's, but two mean something else here and never reach Qt as they are:
// 0x100000 asks for deletion on close (in Qt 6 that bit is
// WindowOverridesSystemGestures), and 0x100, a hint of another platform,
// stands for a top-level window.

#include <Qt>

class QWidget;

// Windows built with this flag delete themselves when closed.
inline constexpr int VX_DELETE_ON_CLOSE = 0x100000;

// The flags to hand to a Qt base constructor: without the delete-on-close
// bit, and with 0x100 turned into Qt::Window.
Qt::WindowFlags vx_qt_window_flags(int flags);

// Sets Qt::WA_DeleteOnClose on the widget when the flags carry
// VX_DELETE_ON_CLOSE; leaves it alone otherwise.
void vx_apply_close_flag(QWidget* widget, int flags);
