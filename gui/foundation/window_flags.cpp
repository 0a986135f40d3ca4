#include "gui/foundation/window_flags.h"

#include <QWidget>

namespace {
constexpr int other_platform_window_hint = 0x100;
}

Qt::WindowFlags vx_qt_window_flags(int flags)
{
    int qt = flags & ~VX_DELETE_ON_CLOSE;
    if (qt & other_platform_window_hint)
        qt = (qt & ~other_platform_window_hint) | Qt::Window;
    return Qt::WindowFlags::fromInt(qt);
}

void vx_apply_close_flag(QWidget* widget, int flags)
{
    if (flags & VX_DELETE_ON_CLOSE)
        widget->setAttribute(Qt::WA_DeleteOnClose);
}
