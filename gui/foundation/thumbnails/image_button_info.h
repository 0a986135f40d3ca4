#pragma once

// The identity of an image button, carried by every click signal.

#include <QString>

struct image_button_info {
    // The image file the button shows.
    QString file;
    // The image's index in the caller's list; -1 while the button is empty.
    int imageIndex = -1;
    // The button's position in its grid.
    int buttonIndex = -1;
};

using t_imagebuttoninfo = image_button_info;
