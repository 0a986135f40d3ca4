#include <clocale>
#include <string>

#include "imagecore/report.h"
#include "testsupport/vx_test.h"

TEST(Report, WritesTheTextOnStandardOutputAsGiven)
{
    testing::internal::CaptureStdout();
    vx_report("Could not read file %s\n", "a.pgm");
    vx_report("%d ", 7);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Could not read file a.pgm\n7 ");
}

TEST(Report, FormatsNumbersInTheCLocaleWhateverTheProcessLocale)
{
    const char* saved = std::setlocale(LC_ALL, nullptr);
    const std::string previous = saved != nullptr ? saved : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "de_DE") == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    testing::internal::CaptureStdout();
    vx_report("Scale %f, r = %10.4f\n", 0.5, 0.25);
    const std::string output = testing::internal::GetCapturedStdout();
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(output, "Scale 0.500000, r =     0.2500\n");
}
