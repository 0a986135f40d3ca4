#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "analyse/attributes/attribute_print.h"
#include "analyse/attributes/attributes.h"
#include "analyse/fourier/fourier_coefficients.h"
#include "analyse/fourier/lFouriercontour.h"
#include "analyse/tests/rule_test_support.h"
#include "imagecore/text/cnumbers.h"
#include "testsupport/vx_test.h"

namespace {

// A vector of `capacity` entries holding "a" = 5 (int), "b" = 2.5 (double)
// and "s" = "text" (string); entries past those stay unset.
struct small_vector {
    attrib_array v{};
    explicit small_vector(int capacity = 3)
    {
        v.entries = static_cast<attrib_entry*>(std::calloc(capacity, sizeof(attrib_entry)));
        v.capacity = capacity;
        init_int_attrib(5, "a", &v);
        init_double_attrib(2.5, "b", &v);
        init_string_attrib("text", "s", &v);
    }
    ~small_vector() { std::free(v.entries); }
    small_vector(const small_vector&) = delete;
    small_vector& operator=(const small_vector&) = delete;
};

std::string print_with(const char* start, void (*print)(const attrib_array*, char*, char),
                       const attrib_array* v, char sep)
{
    char buffer[512];
    std::strcpy(buffer, start);
    print(v, buffer, sep);
    return buffer;
}

TEST(AttribPrint, ListsAppendToTheBuffersText)
{
    small_vector s;
    char buffer[512] = "X\n";
    print_attribs(&s.v, buffer);
    EXPECT_STREQ(buffer, "X\na: 5\nb: 2.500000\ns: text\n");

    EXPECT_EQ(print_with("pre ", buffer_print_attribnames, &s.v, ','), "pre a, b, s");
    EXPECT_EQ(print_with("", buffer_print_attribs, &s.v, ';'), "5; 2.500000; text");

    attrib_array two = s.v;
    two.capacity = 2;
    EXPECT_EQ(print_with("", buffer_print_attribnames, &two, ','), "a, b");
}

TEST(AttribPrint, TrailingSeparatorsAreTakenOnlyFromWhatTheCallWrote)
{
    attrib_array empty{nullptr, 0, 0};
    EXPECT_EQ(print_with("keep, ", buffer_print_attribnames, &empty, ','), "keep, ");
    EXPECT_EQ(print_with("keep, ", buffer_print_attribs, nullptr, ','), "keep, ");

    // Unset entries print no value, so a vector of them writes nothing.
    small_vector unset(5);
    unset.v.count = 3;
    EXPECT_EQ(print_with("", buffer_print_attribs, &unset.v, ','), "5, 2.500000, text");
    attrib_array none = unset.v;
    none.entries += 3;
    none.capacity = 2;
    EXPECT_EQ(print_with("row;", buffer_print_attribs, &none, ';'), "row;");

    char buffer[64] = "x,";
    const int strings_only[] = {2};
    buffer_csv_print_selected_attribnames(&unset.v, buffer, strings_only, 1);
    EXPECT_STREQ(buffer, "x,");
    buffer_print_c4_5_selected_attribs(&unset.v, buffer, strings_only, 1);
    EXPECT_STREQ(buffer, "x,");
}

TEST(AttribPrint, SeparatedFormsReplaceTheBufferAndKeepTheLastSeparator)
{
    small_vector s;
    char buffer[512] = "old text";
    EXPECT_EQ(buffer_sep_print_attribnames(&s.v, buffer, ','), 3);
    EXPECT_STREQ(buffer, "a,b,s,");
    std::strcpy(buffer, "old text");
    EXPECT_EQ(buffer_print_sep_attribs(&s.v, buffer, ','), 3);
    EXPECT_STREQ(buffer, "5,2.500000,text,");

    char types[3] = {9, 9, 9};
    EXPECT_EQ(buffer_get_attritypes(&s.v, types), 3);
    EXPECT_EQ(types[0], 1);
    EXPECT_EQ(types[1], 1);
    EXPECT_EQ(types[2], 3);

    std::strcpy(buffer, "old text");
    EXPECT_EQ(buffer_sep_print_attribnames(nullptr, buffer, ','), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(AttribPrint, SingleValueStaysInsideTheVector)
{
    small_vector s;
    char buffer[64] = "untouched";
    EXPECT_EQ(buffer_print_attrib(&s.v, buffer, 1), 1);
    EXPECT_STREQ(buffer, "2.500000");
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(buffer_print_attrib(&s.v, buffer, 3), -1);
    EXPECT_EQ(buffer_print_attrib(&s.v, buffer, -1), -1);
    EXPECT_EQ(buffer_print_attrib(nullptr, buffer, 0), -1);
    EXPECT_STREQ(buffer, "untouched");
}

TEST(AttribPrint, SelectedFormsSkipStringsAndIndicesOutsideTheVector)
{
    small_vector s;
    const int indices[] = {1, 2, 5, -3, 0};
    char buffer[256] = "";
    buffer_print_c4_5_selected_attribnames(&s.v, buffer, indices, 5);
    EXPECT_STREQ(buffer, "b: continuous.\na: continuous.\n");
    buffer[0] = '\0';
    buffer_csv_print_selected_attribnames(&s.v, buffer, indices, 5);
    EXPECT_STREQ(buffer, "b,a");
    buffer[0] = '\0';
    buffer_print_c4_5_selected_attribs(&s.v, buffer, indices, 5);
    EXPECT_STREQ(buffer, "2.500000,5");

    const region_node_handle r = rule_test::make_region(4);
    init_attrib_array(r.get(), nullptr);
    const int chosen[] = {3, 1000, 21};
    buffer[0] = '\0';
    buffer_csv_print_selected_attribnames(r->attribs, buffer, chosen, 3);
    EXPECT_STREQ(buffer, "area,orientation");
}

TEST(AttribPrint, FileRowsEndEveryItemWithCommaAndBlank)
{
    small_vector s;
    vx_test::TempDir dir;
    const std::string path = dir.file("row.csv");
    FILE* f = std::fopen(path.c_str(), "w");
    file_print_attribnames(&s.v, f);
    file_print_attribs(&s.v, f);
    file_print_attribs(nullptr, f);
    std::fclose(f);
    EXPECT_EQ(vx_test::read_file(path), "a, b, s, \n5, 2.500000, text, \n\n");
}

TEST(AttribPrint, DecimalPointWhateverTheLocale)
{
    const char* saved = std::setlocale(LC_ALL, nullptr);
    const std::string previous = saved != nullptr ? saved : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "de_DE") == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    small_vector s;
    char buffer[128] = "";
    buffer_print_attribs(&s.v, buffer, ';');
    const region_node_handle r =
        rule_test::make_region(16, rule_test::rectangle_contour(0, 5, 5, 16));
    char fds[128] = "";
    buffer_get_fds(fds, r.get(), 2, 16);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_STREQ(buffer, "5; 2.500000; text");
    EXPECT_STREQ(fds, "0.000000, 1.000000");
}

TEST(AttribPrint, FourierMagnitudesOfTheOuterContour)
{
    const std::vector<int> square = rule_test::rectangle_contour(17, 5, 5, 16);
    const region_node_handle r = rule_test::make_region(25, square);
    const int n = pow_of_2_samples(static_cast<int>(square.size()));
    std::vector<double> w(6 * n);
    fftcoeffs(square.data(), 16, static_cast<int>(square.size()), n, &w[0], &w[n], &w[2 * n],
              &w[3 * n], &w[4 * n], &w[5 * n]);

    char buffer[4096] = "id, ";
    EXPECT_EQ(buffer_get_fds(buffer, r.get(), 7, 16), 7);
    std::string expected = "id, ";
    for (int i = 0; i < 7; ++i)
        expected += std::string(vx_fixed(w[4 * n + i]).text) + (i < 6 ? ", " : "");
    EXPECT_EQ(buffer, expected);

    // More magnitudes than samples: the missing ones are 0.
    buffer[0] = '\0';
    EXPECT_EQ(buffer_get_fds(buffer, r.get(), n + 1, 16), n + 1);
    EXPECT_EQ(std::string(buffer).substr(std::strlen(buffer) - 10), ", 0.000000");

    std::strcpy(buffer, "keep");
    EXPECT_EQ(buffer_get_fds(buffer, r.get(), 0, 16), 0);
    EXPECT_STREQ(buffer, "keep");

    const region_node_handle dot = rule_test::make_region(1, {40});
    buffer[0] = '\0';
    EXPECT_EQ(buffer_get_fds(buffer, dot.get(), 3, 16), 3);
    EXPECT_STREQ(buffer, "0.000000, 0.000000, 0.000000");
}

}  // namespace
