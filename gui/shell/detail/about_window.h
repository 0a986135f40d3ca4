#pragma once

// The about window: the program's name, version and build time beside its
// picture (a 253 x 227 PPM carried as a Qt resource).

class QWidget;

// A new top-level window, not shown; the caller owns it.
QWidget* vx_make_about_window();
