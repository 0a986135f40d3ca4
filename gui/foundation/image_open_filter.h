#pragma once

// The name filter of the dialogs that open images: every format Qt's readers
// know, "Images (<*.ext in lower case> <*.ext>)".

#include <QString>

// "*.f1 *.f2 ..." in the readers' own order and case.
QString vx_image_formats_list();
// "Images (" + the list in lower case + " " + the list + ")".
QString vx_images_filter(const QString& list);
// The filter, printed whole as "Known Formats <filter>".
QString vx_known_image_formats_filter();
