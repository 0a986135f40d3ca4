#include "imagecore/text/c_locale.h"

locale_t vx_c_locale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}
