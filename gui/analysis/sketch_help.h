#pragma once

// The manual of the sketch tool, shown by its "HOWTO" button and by the
// main window's "Info" menu (entry "Sketches").

#include <QString>

QString vx_sketch_help_text();
