#include "imagecore/text/image_date.h"

#include <cstdio>

namespace {

constexpr size_t kBuffer = 32;

std::tm local_now()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return parts;
}

}  // namespace

void image_date(char* buffer)
{
    const std::tm t = local_now();
    std::snprintf(buffer, kBuffer, "%d.%d.%d %d:%d:%d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                  t.tm_hour, t.tm_min, t.tm_sec);
}

void image_time(char* buffer)
{
    const std::tm t = local_now();
    std::snprintf(buffer, kBuffer, "%d:%d:%d", t.tm_hour, t.tm_min, t.tm_sec);
}

void image_days(char* buffer)
{
    const std::tm t = local_now();
    std::snprintf(buffer, kBuffer, "%d.%d.%d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
}

time_t image_timer()
{
    return std::time(nullptr);
}
