#include "app/font_rule.h"

#include <QFont>
#include <cstdio>

bool vx_enlarge_small_font(QFont& font)
{
    bool changed = false;
    const int pixels = font.pixelSize();
    if (pixels >= 1 && pixels <= 11) {
        std::printf("Reset Fontsize to 20 Pixels\n");
        font.setPixelSize(20);
        changed = true;
    }
    const int points = font.pointSize();
    if (points >= 1 && points <= 13) {
        std::printf("Reset Fontsize to %d Points\n", points);
        font.setPointSize(14);
        changed = true;
    }
    return changed;
}
