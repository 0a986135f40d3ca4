#include <cstdio>
#include <string>

#include "filter/lMMS_Part.h"
#include "imagecore/files/image_loader.h"

void lMMS_debug_scale_export(mms_debug_export* debug, int scale, int stage, image* img)
{
    if (debug == nullptr || debug->base_name == nullptr || (debug->stage_mask & stage) == 0)
        return;
    char suffix[32];
    std::snprintf(suffix, sizeof(suffix), ".%03d.png", scale);
    writePNGgrey((std::string(debug->base_name) + suffix).c_str(), img);
}
