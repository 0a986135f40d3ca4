#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "analyse/handles.h"
#include "analyse/vectors/vector_array.h"
#include "analyse/vectors/vectorfile.h"
#include "testsupport/vx_test.h"

namespace {

// Loads a Kohonen file holding `text`, capturing the messages.
vector_array* load_text(const vx_test::TempDir& dir, const std::string& text,
                        std::string* said = nullptr)
{
    const std::string path = dir.file("set.koh");
    vx_test::write_file(path, text);
    testing::internal::CaptureStdout();
    vector_array* a = load_kohonen_vector_set(path.c_str());
    const std::string out = testing::internal::GetCapturedStdout();
    if (said != nullptr)
        *said = out;
    return a;
}

}  // namespace

TEST(VectorArray, CreateFillAndFree)
{
    vector_array* a = init_vector_array(3, 2, 0.5);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->dim, 3);
    EXPECT_EQ(a->count, 2);
    EXPECT_EQ(a->names, nullptr);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(a->vectors[i].unit, 0);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(a->vectors[i].values[k], 0.5);
    }
    a->names = static_cast<char**>(std::calloc(3, sizeof(char*)));
    for (int k = 0; k < 3; ++k)
        a->names[k] = strdup("column");
    delete_vector_array(a);  // the leak checker sees anything left

    testing::internal::CaptureStdout();
    EXPECT_EQ(init_vector_array(-1, 2, 0.0), nullptr);
    EXPECT_EQ(init_vector_array(2, -5, 0.0), nullptr);
    testing::internal::GetCapturedStdout();
    delete_vector_array(nullptr);
}

TEST(VectorArray, Arithmetic)
{
    const vector_array_handle a(init_vector_array(3, 2, 0.0));
    vector& v = a->vectors[0];
    vector& w = a->vectors[1];
    const double vv[3] = {1, 2, 3}, ww[3] = {3, 2, 7};
    std::memcpy(v.values, vv, sizeof vv);
    std::memcpy(w.values, ww, sizeof ww);

    vector_add(2.0, &v, &w, 2);  // only the first two values
    EXPECT_EQ(v.values[0], 5);
    EXPECT_EQ(v.values[1], 6);
    EXPECT_EQ(v.values[2], 3);
    vector_add(0.5, &v, nullptr, 3);
    EXPECT_EQ(v.values[0], 2.5);
    EXPECT_EQ(v.values[2], 1.5);
    dist_vector_add(2.0, -1.0, &v, &w, 3);
    EXPECT_EQ(v.values[0], 2.0);
    EXPECT_EQ(v.values[1], 4.0);
    EXPECT_EQ(v.values[2], -4.0);
    copy_vector(&v, &w, 3);
    EXPECT_EQ(v.values[2], 7.0);

    std::memcpy(v.values, vv, sizeof vv);
    // Half of (2, 0, 4) is (1, 0, 2), of length sqrt(5).
    EXPECT_DOUBLE_EQ(adaptive_vector_add(0.5, &v, &w, 3), std::sqrt(5.0));
    EXPECT_EQ(v.values[0], 2.0);
    EXPECT_EQ(v.values[2], 5.0);
}

TEST(VectorFile, WritesDimCountAndOneLinePerVector)
{
    vx_test::TempDir dir;
    const vector_array_handle a(init_vector_array(3, 2, 0.0));
    const double first[3] = {1.5, -2.0, 0.0000004}, second[3] = {10.0, 0.25, 1e6};
    std::memcpy(a->vectors[0].values, first, sizeof first);
    std::memcpy(a->vectors[1].values, second, sizeof second);
    const std::string path = dir.file("out.vec");
    ASSERT_EQ(write_vector_array(a.get(), path.c_str()), 1);
    EXPECT_EQ(vx_test::read_file(path),
              "Dim: 3, Num: 2\n"
              "1.500000, -2.000000, 0.000000.\n"
              "10.000000, 0.250000, 1000000.000000.\n");

    const vector_array_handle one(init_vector_array(1, 2, 7.0));
    ASSERT_EQ(write_vector_array(one.get(), path.c_str()), 1);
    EXPECT_EQ(vx_test::read_file(path), "Dim: 1, Num: 2\n7.000000.\n7.000000.\n");

    testing::internal::CaptureStdout();
    EXPECT_EQ(write_vector_array(one.get(), "/dev/full"), 0);
    EXPECT_EQ(write_vector_array(one.get(), dir.file("no/such/dir.vec").c_str()), 0);
    EXPECT_NE(
        testing::internal::GetCapturedStdout().find("Could not write vector array to /dev/full"),
        std::string::npos);
}

TEST(VectorFile, ReadVectorArrayOnlyNeedsTheFile)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("any");
    vx_test::write_file(path, "ignored");
    const vector_array_handle a(read_vector_array(path.c_str(), 2, 4, -1.0));
    ASSERT_NE(a.get(), nullptr);
    EXPECT_EQ(a->count, 4);
    EXPECT_EQ(a->vectors[3].values[1], -1.0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(read_vector_array(dir.file("missing").c_str(), 2, 4, 0.0), nullptr);
    testing::internal::GetCapturedStdout();
}

TEST(KohonenFile, NumbersAreSeparatedByAnyNonDigit)
{
    double v = -7;
    EXPECT_EQ(get_next_float("x-1.5;2", &v), 5);
    EXPECT_EQ(v, 1.5);
    EXPECT_EQ(get_next_float("12", &v), 2);
    EXPECT_EQ(v, 12.0);
    v = -7;
    EXPECT_EQ(get_next_float("", &v), -1);
    EXPECT_EQ(get_next_float("-;.", &v), -1);
    EXPECT_EQ(get_next_float(nullptr, &v), -1);
    EXPECT_EQ(v, -7);

    vx_test::TempDir dir;
    const vector_array_handle a(load_text(dir, "2 4\n1.5;2.5 1.5,2.5\n-1.5/3 7x8extra9\n"));
    ASSERT_NE(a.get(), nullptr);
    EXPECT_EQ(a->dim, 2);
    ASSERT_EQ(a->count, 4);
    const double want[4][2] = {{1.5, 2.5}, {1.5, 2.5}, {1.5, 3}, {7, 8}};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 2; ++k)
            EXPECT_EQ(a->vectors[i].values[k], want[i][k]) << i << "," << k;

    const vector_array_handle empty(load_text(dir, "3 0\n"));
    ASSERT_NE(empty.get(), nullptr);
    EXPECT_EQ(empty->count, 0);
}

TEST(KohonenFile, MalformedFilesFailWithAMessage)
{
    vx_test::TempDir dir;
    const std::string cases[][2] = {
        {"", "no dimension"},
        {"x 3\n", "no dimension"},
        {"2\n", "no vector count"},
        {"2 3.5\n1,2\n", "no vector count"},
        {"99999999999 1\n", "no dimension"},
        {"0 1\n1\n", "dimension 0"},
        {"2 -1\n", "vector count -1"},
        {"2 2000000000\n1,2 3,4\n", "the file ends before vector 2"},
        {"3 1\n1,2\n", "vector 0 holds too few numbers"},
        {"1 1\n" + std::string(26, '1') + "\n", "vector 0 is longer than 25 characters"},
    };
    for (const auto& c : cases) {
        std::string said;
        EXPECT_EQ(load_text(dir, c[0], &said), nullptr) << c[0];
        EXPECT_NE(said.find("Could not read Kohonen vector set"), std::string::npos) << said;
        EXPECT_NE(said.find(c[1]), std::string::npos) << said;
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(load_kohonen_vector_set(dir.file("missing").c_str()), nullptr);
    EXPECT_EQ(load_kohonen_vector_set(nullptr), nullptr);
    testing::internal::GetCapturedStdout();
}
