#pragma once

// A self-organising map that shows its marker map in an image display
// widget: mode 1 over palette 1 with one extra colour per input, on which
// the cluster labels fall (label offset 1792).

#include <functional>

#include "automation/sofm/vxsofm.h"

class qimage_frame;

class vxqtsofm : public vxsofm {
public:
    // A new map (vxsofm's first constructor with the last eight values),
    // then the display set up on `display` (not owned; it must outlive the
    // map or be given other content first, since it shows the map's marker
    // words in place).
    vxqtsofm(qimage_frame* display, int width, int height, vector_array* inputs, double learnRate,
             double learnScope, int maxSteps, int function, int normalization);
    // A map read from a ".som" file for the inputs, then the display set up
    // with the map's own size. A map that could not be built (0 units)
    // leaves the display as it was.
    vxqtsofm(qimage_frame* display, const char* file, vector_array* inputs);

    // Shows the marker map in the widget and repaints it at once, then
    // calls the refreshed hook when one is set.
    void refresh_display() override;
    // The hook the trainer sets while it trains: it may process events and
    // stop the training (stop_training), but must not change the map.
    void setRefreshed(std::function<void()> hook) { refreshed = std::move(hook); }

private:
    void initDisplay();

    qimage_frame* display;
    std::function<void()> refreshed;
};
