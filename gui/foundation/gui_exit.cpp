#include "gui/foundation/gui_exit.h"

#include <cstdio>
#include <cstdlib>

void vx_gui_exit(int code)
{
    std::fflush(stdout);
    std::exit(code);
}
