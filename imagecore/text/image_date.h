#pragma once

#include <ctime>

// Local date and time texts without leading zeros; buffers of at least 32 chars.
void image_date(char* buffer);
void image_time(char* buffer);
void image_days(char* buffer);
time_t image_timer();
