#pragma once

// The manual of the sketch tool, shown by its "HOWTO" button.

#include <QString>

QString vx_sketch_help_text();
