#pragma once

#include <ctime>

#include "imagecore/vximage_export.h"

// Local date and time texts without leading zeros; buffers of at least 32 chars.
VXIMAGE_EXPORT void image_date(char* buffer);
VXIMAGE_EXPORT void image_time(char* buffer);
VXIMAGE_EXPORT void image_days(char* buffer);
VXIMAGE_EXPORT time_t image_timer();
