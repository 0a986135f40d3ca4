#include <gtest/gtest.h>

#include <QFont>

#include "app/font_rule.h"

TEST(FontRule, OnlyTooSmallFontsGrowAndSaySo)
{
    struct Case {
        bool inPixels;
        int size;
        const char* printed;
        int pixelsAfter;
        int pointsAfter;
    };
    const Case cases[] = {
        {false, 9, "Reset Fontsize to 9 Points\n", -1, 14},
        {true, 11, "Reset Fontsize to 20 Pixels\n", 20, -1},
        {true, 16, "", 16, -1},
        {false, 14, "", -1, 14},
    };
    for (const Case& c : cases) {
        QFont font;
        if (c.inPixels)
            font.setPixelSize(c.size);
        else
            font.setPointSize(c.size);
        testing::internal::CaptureStdout();
        const bool changed = vx_enlarge_small_font(font);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed) << c.size;
        EXPECT_EQ(changed, *c.printed != '\0') << c.size;
        EXPECT_EQ(font.pixelSize(), c.pixelsAfter) << c.size;
        EXPECT_EQ(font.pointSize(), c.pointsAfter) << c.size;
    }
}
