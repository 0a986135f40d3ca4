#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "automation/repository/vx_query_parameters.h"
#include "testsupport/vx_test.h"

namespace {

std::unique_ptr<VxQueryParameters> read_parameters(const std::string& path,
                                                   std::string* output = nullptr)
{
    return vx_test::capturing_stdout(
        [&path] { return std::make_unique<VxQueryParameters>(path.c_str()); }, output);
}

TEST(QueryParameters, ValuesKeepTheirColonsAndModesAreTrimmed)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("run.query");
    vx_test::write_file(path,
                        "Repository: /data/r.vxr\n"
                        "ResultFile:C:\\results\\r.vxq  \n"
                        "Path of results:  D:\\out:2 \n"
                        "UpdateRule: \n"
                        "NumQueries: 3\n"
                        " cells.rule ,  Dark \n"
                        "nuclei.rule, dark\n"
                        "plain.rule\n");
    std::string printed;
    auto p = read_parameters(path, &printed);
    EXPECT_TRUE(p->isRead());
    EXPECT_STREQ(p->Repository(), "/data/r.vxr");
    EXPECT_STREQ(p->ResultFile(), "C:\\results\\r.vxq");
    EXPECT_STREQ(p->ResultPath(), "D:\\out:2");
    EXPECT_STREQ(p->UpdateRule(), "");
    ASSERT_EQ(p->NumQueries(), 3);
    EXPECT_STREQ(p->QueryFile(0), "cells.rule");
    EXPECT_EQ(p->Mode(0), 2);
    EXPECT_EQ(p->Mode(1), 1);
    EXPECT_STREQ(p->QueryFile(2), "plain.rule");
    EXPECT_EQ(p->Mode(2), 1);
    EXPECT_EQ(printed,
              "Query[0] cells.rule, Mode 2\nQuery[1] nuclei.rule, Mode 1\n"
              "Query[2] plain.rule, Mode 1\n");
    EXPECT_EQ(p->QueryFile(3), nullptr);
    EXPECT_EQ(p->QueryFile(-1), nullptr);
    EXPECT_EQ(p->Mode(3), -1);
    EXPECT_STREQ(p->QueryFiles()[1], "nuclei.rule");

    // Written and read back, only the modes' spelling changes.
    ASSERT_EQ(p->write(dir.file("again.query").c_str()), 1);
    EXPECT_EQ(vx_test::read_file(dir.file("again.query")),
              "Repository: /data/r.vxr\nResultFile: C:\\results\\r.vxq\n"
              "ResultPath: D:\\out:2\nUpdateRule: \nNumQueries: 3\n"
              "cells.rule, Dark\nnuclei.rule, Bright\nplain.rule, Bright\n");
    auto again = read_parameters(dir.file("again.query"));
    EXPECT_STREQ(again->ResultPath(), "D:\\out:2");
    EXPECT_EQ(again->Mode(0), 2);
    EXPECT_EQ(again->Mode(1), 1);
}

TEST(QueryParameters, NewParametersAreBrightAndSettersStayInRange)
{
    VxQueryParameters p(2);
    ASSERT_EQ(p.NumQueries(), 2);
    EXPECT_EQ(p.Mode(0), 1);
    EXPECT_EQ(p.Mode(1), 1);
    EXPECT_STREQ(p.QueryFile(1), "");
    EXPECT_EQ(p.Mode(1, " Dark "), 2);
    EXPECT_EQ(p.Mode(5, "Dark"), 2);
    p.Mode(-1, 2);
    p.QueryFile(7, "x.rule");
    p.QueryFile(0, "a.rule", "Bright");
    EXPECT_EQ(p.Modes()[1], 2);
    EXPECT_STREQ(p.QueryFile(0), "a.rule");
    EXPECT_EQ(VxQueryParameters(-4).NumQueries(), 0);

    testing::internal::CaptureStdout();
    p.Repository(std::string(3000, 'r').c_str());
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::string(p.Repository()), std::string(1023, 'r'));
    EXPECT_NE(printed.find("cut to 1023"), std::string::npos);
}

TEST(QueryParameters, IllFormedFilesGiveTheQueriesRead)
{
    vx_test::TempDir dir;
    const std::string settings = "Repository: r\nResultFile: f\nResultPath: p\nUpdateRule: u\n";
    struct Case {
        std::string text;
        int queries;
    };
    const Case cases[] = {
        {settings + "NumQueries: 2000000000\na.rule, Dark\n", 1},
        {settings + "NumQueries: -3\na.rule\n", 0},
        {settings + "NumQueries: many\n", 0},
        {"Repository: r\n", 0},
        {"", 0},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 0},
        {"Repository r\n" + settings, 0},
        {settings + "NumQueries: 2\na.rule, Dark\n , Bright\n", 1},
        {settings + "NumQueries: 1\n" + std::string("a.rule\0, Dark\n", 14), 0},
        {settings + "NumQueries: 1\n" + std::string(1024, 'a') + ", Dark\n", 0},
    };
    for (const Case& c : cases) {
        vx_test::write_file(dir.file("bad.query"), c.text);
        std::string printed;
        auto p = read_parameters(dir.file("bad.query"), &printed);
        EXPECT_EQ(p->NumQueries(), c.queries) << c.text;
        EXPECT_FALSE(p->isRead()) << c.text;
        EXPECT_NE(printed.find("Could not read query file"), std::string::npos) << c.text;
    }
    std::string printed;
    EXPECT_EQ(read_parameters(dir.file("missing.query"), &printed)->NumQueries(), 0);
    EXPECT_FALSE(printed.empty());
}

}  // namespace
