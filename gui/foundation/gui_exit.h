#pragma once

// The few ways the GUI ends the process, with their fixed exit codes (the
// same namespace as the libraries' codes, imagecore/exit_codes.h).

#include "gui/vxgui_export.h"

namespace exit_code {

// "Exit Application !" of any message pop-up.
inline constexpr int exit_application = 10;
// A fatal message pop-up was destroyed.
inline constexpr int fatal_message = 42;
// The program's code once its event loop has ended, whatever the loop gave.
inline constexpr int event_loop_ended = 1;

}  // namespace exit_code

// Flushes standard output, so that no trace line is lost, and ends the
// process with the code.
[[noreturn]] VXGUI_EXPORT void vx_gui_exit(int code);
