#include "gui/foundation/sofm/vxqtsofm.h"

#include "gui/foundation/qimage_frame.h"

vxqtsofm::vxqtsofm(qimage_frame* display, int width, int height, vector_array* inputs,
                   double learnRate, double learnScope, int maxSteps, int function,
                   int normalization)
    : vxsofm(width, height, inputs, learnRate, learnScope, maxSteps, function, normalization),
      display(display)
{
    initDisplay();
}

vxqtsofm::vxqtsofm(qimage_frame* display, const char* file, vector_array* inputs)
    : vxsofm(file, inputs), display(display)
{
    initDisplay();
}

void vxqtsofm::initDisplay()
{
    if (sofm()->units == 0)
        return;
    display->reset_qimage(width(), height(), sofm()->marker, nullptr, -1);
    label_offset = display->createGreyValueDisplayPalette1(sofm()->num_inputs);
    display->setDisplayMode(1);
    display->update();
    refresh_display();
}

void vxqtsofm::refresh_display()
{
    if (sofm()->units == 0)
        return;
    display->display_image(sofm()->marker);
    display->repaint();
    if (refreshed)
        refreshed();
}
