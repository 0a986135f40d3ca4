#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "imagecore/draw.h"
#include "imagecore/handles.h"
#include "imagecore/image.h"
#include "imagecore/text/image_date.h"
#include "testsupport/vx_test.h"

namespace {

int count_value(const image* img, int value)
{
    int n = 0;
    for (int i = 0; i < img->width * img->height; ++i)
        n += img->pixels[i] == value;
    return n;
}

}  // namespace

TEST(Draw, LinesStepAlongTheLongerAxisAndTruncate)
{
    const image_handle img(create_image(5, 4, 0));
    draw_line(img.get(), 1, 0, 0, 4, 2);
    // y = 0, 0.5, 1, 1.5, 2 truncated.
    EXPECT_EQ(img->pixels[0 * 5 + 1], 1);
    EXPECT_EQ(img->pixels[1 * 5 + 2], 1);
    EXPECT_EQ(img->pixels[1 * 5 + 3], 1);
    EXPECT_EQ(img->pixels[2 * 5 + 4], 1);
    EXPECT_EQ(count_value(img.get(), 1), 5);

    erase_image(img.get(), 0);
    draw_line(img.get(), 2, 1, 3, 0, 0);  // steep, drawn from the first end
    EXPECT_EQ(img->pixels[3 * 5 + 1], 2);
    EXPECT_EQ(img->pixels[2 * 5 + 0], 2);  // x = 1 - 1/3 truncates to 0
    EXPECT_EQ(img->pixels[0], 2);
    EXPECT_EQ(count_value(img.get(), 2), 4);

    erase_image(img.get(), 0);
    draw_line(img.get(), 3, 2, 2, 2, 2);
    EXPECT_EQ(count_value(img.get(), 3), 1);
    EXPECT_EQ(img->pixels[2 * 5 + 2], 3);
}

TEST(Draw, LinesAndPointsAreClippedToTheImage)
{
    const image_handle img(create_image(4, 3, 0));
    draw_line(img.get(), 1, INT_MIN, 1, INT_MAX, 1);
    EXPECT_EQ(count_value(img.get(), 1), 4);
    draw_line(img.get(), 2, -10, -10, 20, 20);
    EXPECT_EQ(img->pixels[0], 2);
    EXPECT_EQ(img->pixels[2 * 4 + 2], 2);
    draw_line(img.get(), 5, 3, -1, 3, -9);
    set_point_in_image(img.get(), 4, 0, 5);
    set_point_in_image(img.get(), 0, -1, 5);
    EXPECT_EQ(count_value(img.get(), 5), 0);
}

TEST(Draw, EllipseMarkersHaveTheirAreaAndStayInside)
{
    const image_handle img(create_image(101, 101, 0));
    draw_ellipse(img.get(), 4, 1000, 50, 50, 2, 1, 0.6, nullptr);
    // Semi-axes 25 and 12, both grown by the outline's half pixel.
    const double area = 3.1417 * 25.5 * 12.5;
    EXPECT_NEAR(count_value(img.get(), 4), area, area * 0.03);
    for (int i = 0; i < 101 * 101; ++i)
        ASSERT_EQ(img->pixels[i], img->pixels[101 * 101 - 1 - i]) << "not symmetric at " << i;
    EXPECT_EQ(img->pixels[50 * 101 + 50], 4);

    // Centred off the image: only the part inside is painted.
    const image_handle corner(create_image(20, 20, 0));
    draw_ellipse(corner.get(), 1, 400, -3, -3, 1, 1, 0.0, nullptr);
    EXPECT_GT(count_value(corner.get(), 1), 0);
    EXPECT_EQ(corner->pixels[0], 1);
    EXPECT_EQ(corner->pixels[19 * 20 + 19], 0);

    // Axes that round to 0 draw nothing.
    erase_image(corner.get(), 0);
    draw_ellipse(corner.get(), 1, 2, 5, 5, 1, 1, 0.0, nullptr);
    draw_ellipse(corner.get(), 1, 400, 5, 5, 1, 0, 0.0, nullptr);
    draw_ellipse(corner.get(), 1, -400, 5, 5, 1, 1, 0.0, nullptr);
    EXPECT_EQ(count_value(corner.get(), 1), 0);
}

TEST(Draw, NumericHelpers)
{
    EXPECT_DOUBLE_EQ(fact(4), 24);
    EXPECT_DOUBLE_EQ(fact(2.5), 2.5 * 1.5 * 0.5);
    EXPECT_DOUBLE_EQ(fact(0), 1);
    EXPECT_TRUE(std::isinf(fact(1e300)));
    EXPECT_EQ(crint(2.5), 3);
    EXPECT_EQ(crint(-2.5), -3);
    EXPECT_EQ(crint(-2.4), -2);
    EXPECT_DOUBLE_EQ(scan_gradient(1, 2, 3, 4, 5, 6), 3 + 16 + 20 + 6);
    EXPECT_EQ(pos_not_reached(1, 2, 1, 2), 0);
    EXPECT_EQ(pos_not_reached(1, 2, 2, 2), 1);
}

TEST(Date, TextsHaveNoLeadingZerosAndCalendarNumbers)
{
    char date[32], days[32], clock[32];
    std::time_t before, after;
    do {
        before = image_timer();
        image_date(date);
        image_days(days);
        image_time(clock);
        after = image_timer();
    } while (before != after);
    std::tm t{};
    localtime_r(&before, &t);
    char expect[64];
    std::snprintf(expect, sizeof expect, "%d.%d.%d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
    EXPECT_EQ(std::string(days), expect);
    EXPECT_EQ(std::string(date).rfind(std::string(expect) + " ", 0), 0u) << date;
    EXPECT_EQ(std::string(date).substr(std::string(expect).size() + 1), std::string(clock));
    EXPECT_TRUE(std::regex_match(clock, std::regex("((0|[1-9][0-9]?):){2}(0|[1-9][0-9]?)")))
        << clock;
    int hour = -1, minute = -1, second = -1;
    ASSERT_EQ(std::sscanf(clock, "%d:%d:%d", &hour, &minute, &second), 3);
    EXPECT_EQ(hour, t.tm_hour);
    EXPECT_EQ(minute, t.tm_min);
    EXPECT_EQ(second, t.tm_sec);
}
