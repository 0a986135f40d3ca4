#include <functional>
#include <string>

#include "analyse/attributes/attributes.h"
#include "automation/tables/vxtable.h"
#include "testsupport/vx_test.h"

using vx_test::read_file;
using vx_test::TempDir;
using vx_test::write_file;

namespace {

std::string quietly(const std::function<void()>& run)
{
    testing::internal::CaptureStdout();
    run();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(VxTable, FirstDataLineDecidesTypesAndTablesRoundTripWithSemicolons)
{
    TempDir dir;
    // No final line break; "01.png" is no number as a whole.
    write_file(dir.file("in.csv"), "name, value ,file\nabc,-3.5,01.png\n x y ,2,3");
    VxTable table(dir.file("in.csv").c_str(), ',');
    ASSERT_EQ(table.getRows(), 2);
    ASSERT_EQ(table.getColumns(), 3);
    EXPECT_STREQ(table.getColumnName(1), "value");
    EXPECT_EQ(table.getColumnType(0), VxTable::TEXT);
    EXPECT_EQ(table.getColumnType(1), VxTable::DOUBLE);
    EXPECT_EQ(table.getColumnType(2), VxTable::TEXT);
    EXPECT_EQ(table.getColumnType(3), -1);
    EXPECT_EQ(table.getColumnName(3), nullptr);
    EXPECT_EQ(table.getEntry(0, 1).dvalue, -3.5);
    EXPECT_STREQ(table.getEntry(1, 0).text, "x y");
    EXPECT_EQ(table.getEntry(2, 0).type, 0);

    const std::string written = "name;value;file\nabc; -3.500000;01.png\nx y; 2.000000;3\n";
    ASSERT_TRUE(table.writeCSV(dir.file("out.csv").c_str()));
    EXPECT_EQ(read_file(dir.file("out.csv")), written);
    EXPECT_EQ(std::string(table.FileName()), dir.file("out.csv"));

    // Read back with the ',' the GUI passes: the ';' header decides.
    VxTable again(dir.file("out.csv").c_str(), ',');
    ASSERT_EQ(again.getColumns(), 3);
    again.writeCSV(dir.file("again.csv").c_str());
    EXPECT_EQ(read_file(dir.file("again.csv")), written);
}

TEST(VxTable, EmptyCellsKeepTheColumnCountAndDuplicateNamesFindTheLast)
{
    TempDir dir;
    VxTable table(3, 2, "\3\1\3", "x;v;x", ';');
    EXPECT_EQ(table.getColumID("x"), 2);
    EXPECT_EQ(table.getColumID("nope"), -1);
    table.setEntry(1, 0, "t");
    table.setEntry(1, 1, 2.5);
    table.setEntry(1, 1, 7);  // an int into a double column is ignored
    table.setEntry(1, 2, "u");
    table.setEntry(5, 0, "out of range");
    ASSERT_TRUE(table.writeCSV(dir.file("t.csv").c_str()));
    EXPECT_EQ(read_file(dir.file("t.csv")), "x;v;x\nEMPTY; 0.000000; EMPTY\nt; 2.500000;u\n");

    VxTable back(dir.file("t.csv").c_str(), ';');
    ASSERT_EQ(back.getColumns(), 3);
    ASSERT_EQ(back.getRows(), 2);
    EXPECT_STREQ(back.getEntry(0, 2).text, "EMPTY");
    EXPECT_EQ(back.getEntry(1, 1).dvalue, 2.5);
}

TEST(VxTable, ShortLongEmptyAndMissingFiles)
{
    TempDir dir;
    write_file(dir.file("ragged.csv"), "a,b\n1,2,3,4\n5\n");
    VxTable ragged(dir.file("ragged.csv").c_str(), ',');
    ASSERT_EQ(ragged.getColumns(), 2);
    ASSERT_EQ(ragged.getRows(), 2);
    EXPECT_STREQ(ragged.getEntry(0, 0).text, "1,2,3");  // the surplus stays in front
    EXPECT_EQ(ragged.getEntry(0, 1).dvalue, 4.0);
    EXPECT_EQ(ragged.getEntry(1, 1).dvalue, 0.0);

    write_file(dir.file("empty.csv"), "");
    VxTable empty(dir.file("empty.csv").c_str(), ',');
    EXPECT_EQ(empty.getRows(), 0);
    EXPECT_EQ(empty.getColumns(), 0);

    write_file(dir.file("head.csv"), "a,b\n");
    VxTable head(dir.file("head.csv").c_str(), ',');
    EXPECT_EQ(head.getRows(), 0);
    EXPECT_EQ(head.getColumnType(1), VxTable::TEXT);

    const std::string out = quietly([&] {
        VxTable missing(dir.file("none.csv").c_str(), ',');
        EXPECT_EQ(missing.getColumns(), 0);
    });
    EXPECT_NE(out.find("VxTable Could not open File"), std::string::npos);
}

TEST(VxTable, MinMaxOnlyForNumberColumnsWithRows)
{
    VxTable table(3, 0, "\1\2\3", "d;i;t", ';');
    double lo = 42, hi = 43;
    EXPECT_FALSE(table.getMinMax(0, &lo, &hi));
    table.appendRows(3);
    for (int r = 0; r < 3; ++r) {
        table.setEntry(r, 0, 1.5 * (r - 1));
        table.setEntry(r, 1, 10 - r);
    }
    EXPECT_FALSE(table.getMinMax(2, &lo, &hi));
    EXPECT_FALSE(table.getMinMax(3, &lo, &hi));
    EXPECT_EQ(lo, 42);
    EXPECT_EQ(hi, 43);
    ASSERT_TRUE(table.getMinMax(0, &lo, &hi));
    EXPECT_EQ(lo, -1.5);
    EXPECT_EQ(hi, 1.5);
    EXPECT_EQ(table.getMin(1), 8.0);
    EXPECT_EQ(table.getMax(1), 10.0);
}

TEST(VxTable, GrowsByRowsAndColumns)
{
    VxTable table(1, "\2", "n", ';');
    table.setEntry(0, 0, 4);
    table.appendRow();
    table.prependColumn("label", "cls");
    table.prependColumn("w", 0.5);
    table.prependColumn(VxTable::INT, "id");
    table.appendColumn(VxTable::TEXT, "note");
    table.appendColumn(9, "bad");
    ASSERT_EQ(table.getColumns(), 5);
    const char* const* names = table.getColumnNames();
    EXPECT_STREQ(names[0], "id");
    EXPECT_STREQ(names[4], "note");
    EXPECT_EQ(table.getEntry(1, 0).ivalue, 0);
    EXPECT_EQ(table.getEntry(1, 1).dvalue, 0.5);
    EXPECT_STREQ(table.getEntry(1, 2).text, "cls");
    EXPECT_EQ(table.getEntry(0, 3).ivalue, 4);
    EXPECT_EQ(table.getEntry(1, 4).text, nullptr);
}

TEST(VxTable, WritesOnlyValidSelectionsAndExtractsVectorsWithClasses)
{
    TempDir dir;
    VxTable table(4, 2, "\1\2\3\1", "a;b;c;Class", ';');
    for (int r = 0; r < 2; ++r) {
        table.setEntry(r, 0, r + 0.25);
        table.setEntry(r, 1, 10 * r);
        table.setEntry(r, 3, 2.9 + r);
    }
    const unsigned picked[] = {7, 1, 0};
    ASSERT_TRUE(table.writeCSV(dir.file("s.csv").c_str(), 3, picked));
    EXPECT_EQ(read_file(dir.file("s.csv")), "b;a\n0;0.250000\n10;1.250000\n");
    const unsigned five[] = {0, 1, 2, 3, 0};
    EXPECT_FALSE(table.writeCSV(dir.file("none.csv").c_str(), 5, five));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.csv")));

    const unsigned columns[] = {1, 2, 9, 0};
    vector_array* v = nullptr;
    const std::string out = quietly([&] { v = table.extractVArray(4, columns, "Class"); });
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->dim, 4);
    EXPECT_EQ(v->count, 2);
    EXPECT_STREQ(v->names[0], "b");
    EXPECT_STREQ(v->names[2], "");
    EXPECT_EQ(v->vectors[1].values[0], 10.0);
    EXPECT_EQ(v->vectors[1].values[1], 0.0);
    EXPECT_EQ(v->vectors[1].values[3], 1.25);
    EXPECT_EQ(v->vectors[0].gt_class, 2);
    EXPECT_EQ(v->vectors[1].gt_class, 3);
    EXPECT_EQ(v->vectors[1].mark, -1);
    EXPECT_NE(out.find("Non Numerical Column 2 selected as 1th for vector  array output\n"),
              std::string::npos);
    EXPECT_NE(out.find("Invalid Column 9 selected as 2th for vector  array output\n"),
              std::string::npos);
    EXPECT_NE(out.find("Using Column 3 with Label Class as GT Classification \n"),
              std::string::npos);
    delete_vector_array(v);
    EXPECT_EQ(table.extractVArray(5, five, nullptr), nullptr);
}

TEST(VxTable, RegionNodesGiveOneRowEachWithTheirAttributes)
{
    tregionnode nodes[2] = {};
    nodes[0].size = 12;
    nodes[0].contrast = 0.5;
    nodes[1].size = 30;
    init_attrib_array(&nodes[0], nullptr);
    init_attrib_array(&nodes[1], nullptr);
    tregionnode* list[3] = {&nodes[0], &nodes[1], nullptr};

    VxTable table(list, 3);
    ASSERT_EQ(table.getRows(), 3);
    ASSERT_EQ(table.getColumns(), nodes[0].attribs->capacity);
    const int area = table.getColumID(nodes[0].attribs->entries[0].name);
    ASSERT_GE(area, 0);
    EXPECT_EQ(table.getColumnType(area), VxTable::DOUBLE);
    for (int c = 0; c < table.getColumns(); ++c) {
        const attrib_entry& e = nodes[1].attribs->entries[c];
        const double expected = e.type == ATTRIB_INT ? e.ivalue : e.dvalue;
        EXPECT_NEAR(table.getEntry(1, c).dvalue, expected, 1e-6) << e.name;
    }
    EXPECT_EQ(table.getEntry(2, area).dvalue, 0.0);
    delete_attrib_array(nodes[0].attribs);
    delete_attrib_array(nodes[1].attribs);
}
