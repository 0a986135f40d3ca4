#pragma once

// The name filter of the dialogs that open an image for analysis: every
// format Qt's readers know, "Images (<*.ext in lower case> <*.ext>)".

#include <QString>

// Builds the filter and prints it as "Known Formats <filter>".
QString vx_known_image_formats_filter();
