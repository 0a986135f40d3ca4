#include <gtest/gtest.h>

#include <vector>

#include "filter/template_file.h"
#include "testsupport/vx_test.h"

namespace {

f_filter* read(const vx_test::TempDir& dir, const std::string& text)
{
    const std::string path = dir.file("t.tmpl");
    vx_test::write_file(path, text);
    return init_filter(path.c_str());
}

TEST(TemplateFile, ReadsSquareTemplatesWithOutsideCells)
{
    vx_test::TempDir dir;
    f_filter* f = read(dir, "0 0 0\n0 0 0\n0 0 0\n");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->width, 3);
    EXPECT_EQ(f->op, 0);
    EXPECT_EQ(f->offsets->count, 9);
    delete_filter(f);
    // Any other character separates tokens; trailing blank lines are no rows.
    f = read(dir, ". 12,.\n3;4x5\n.\t6 .\n\n\n");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::vector<int>(f->values, f->values + 9),
              (std::vector<int>{-1, 12, -1, 3, 4, 5, -1, 6, -1}));
    EXPECT_EQ(f->offsets->count, 5);
    EXPECT_EQ(f->centre_row, 1);
    delete_filter(f);
}

TEST(TemplateFile, RejectsFilesThatHoldNoTemplate)
{
    vx_test::TempDir dir;
    testing::internal::CaptureStdout();
    EXPECT_EQ(read(dir, "0 0\n0 0\n"), nullptr);
    EXPECT_EQ(read(dir, "0 0 0\n0 0 0\n"), nullptr);
    EXPECT_EQ(read(dir, "0 0 0\n0\n0 0 0\n"), nullptr);
    EXPECT_EQ(read(dir, "0 0 0\n0 99999999999 0\n0 0 0\n"), nullptr);
    EXPECT_EQ(read(dir, ""), nullptr);
    EXPECT_EQ(init_filter(dir.file("missing").c_str()), nullptr);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Not a filter file"), std::string::npos);
    EXPECT_NE(out.find("NON Quadratic Template File"), std::string::npos);
    EXPECT_NE(out.find("Error while reading template"), std::string::npos);
    EXPECT_NE(out.find("Unable to open file"), std::string::npos);
}

}  // namespace
