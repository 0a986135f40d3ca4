#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "analyse/attributes/attributes.h"
#include "analyse/attributes/base_attributes.h"
#include "analyse/attributes/detail/attrib_maker.h"
#include "analyse/rules/rule_program.h"
#include "analyse/trees/regiontree.h"
#include "testsupport/region_tree_builder.h"

namespace {

// A region whose fields differ from one another, so a value taken from the
// wrong field shows. Its vector goes with it.
region_node_handle sample_region()
{
    region_node_handle r(vx_test::node(nullptr, {}));
    r->age = 3;
    r->size = 42;
    r->contour_size = 20;
    r->label = 7;
    r->file_index = 11;
    r->volume = 999;
    r->max_width = 9;
    r->min_width = 4;
    r->variance = 2.25;
    r->centroidX = 1.5;
    r->border = 5;
    return r;
}

program* program_with(std::initializer_list<std::pair<const char*, double>> symbols)
{
    program* prog = init_program();
    for (const auto& [name, value] : symbols)
        put_symbol_id(prog, name)->value = value;
    return prog;
}

std::string captured(void (*fn)())
{
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    fn();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// The pass's vectors, copied from one layout, are the ones init_attrib_array
// builds: a symbol whose name is cut to that of an earlier one is left out
// as init_double_attrib leaves it out.
TEST(AttribArray, VectorsFromOneLayoutAreThoseOfInitAttribArray)
{
    const std::string longer(40, 'x');
    program* prog =
        program_with({{"a", 1.5}, {longer.c_str(), 2.5}, {(longer + "y").c_str(), 3.5}, {"b", 4}});
    const attrib_vector_maker maker(prog);
    ASSERT_EQ(maker.symbols(), 4);
    double values[4];
    maker.read_symbols(values);
    EXPECT_EQ(values[3], 4.0);
    const region_node_handle plain = sample_region();
    const region_node_handle made = sample_region();
    init_attrib_array(plain.get(), prog);
    maker.make(made.get(), values);
    const attrib_array* p = plain->attribs;
    const attrib_array* m = made->attribs;
    ASSERT_EQ(m->capacity, p->capacity);
    EXPECT_EQ(m->count, p->count);
    EXPECT_EQ(std::memcmp(m->entries, p->entries, sizeof(attrib_entry) * p->capacity), 0);
    delete_program(prog);
}

TEST(AttribArray, BaseAttributesInTableOrderFromTheirFields)
{
    const region_node_handle r = sample_region();
    attrib_array* v = init_attrib_array(r.get(), nullptr);
    ASSERT_EQ(r->attribs, v);
    EXPECT_EQ(v->capacity, NUM_BASE_ATTRIBUTES);
    EXPECT_EQ(v->count, NUM_BASE_ATTRIBUTES);
    for (int i = 0; i < NUM_BASE_ATTRIBUTES; ++i) {
        EXPECT_STREQ(v->entries[i].name, pbaBaseAttributes[i].name);
        EXPECT_EQ(v->entries[i].type, pbaBaseAttributes[i].type);
        EXPECT_EQ(v->entries[i].valid, 1);
    }
    EXPECT_EQ(v->entries[3].ivalue, 42);  // area is the pixel count
    EXPECT_EQ(v->entries[9].ivalue, 20);  // perimeter is the contour length
    EXPECT_EQ(v->entries[13].ivalue, 999);
    EXPECT_EQ(v->entries[14].ivalue, 9);
    EXPECT_EQ(v->entries[15].ivalue, 4);
    EXPECT_DOUBLE_EQ(v->entries[16].dvalue, 2.25);
    EXPECT_DOUBLE_EQ(v->entries[17].dvalue, 1.5);
    EXPECT_EQ(v->entries[33].ivalue, 5);
    EXPECT_EQ(v->entries[34].ivalue, 11);  // node is the file index, not the label
}

TEST(AttribArray, SymbolsFollowInDeclarationOrderAsDoubles)
{
    const region_node_handle r = sample_region();
    const program_handle prog(program_with({{"x", 1.5}, {"y", -2.0}}));
    attrib_array* v = init_attrib_array(r.get(), prog.get());
    ASSERT_EQ(v->capacity, 37);
    EXPECT_EQ(v->count, 37);
    EXPECT_STREQ(v->entries[35].name, "x");
    EXPECT_EQ(v->entries[35].type, ATTRIB_DOUBLE);
    EXPECT_DOUBLE_EQ(v->entries[35].dvalue, 1.5);
    EXPECT_STREQ(v->entries[36].name, "y");
    EXPECT_DOUBLE_EQ(v->entries[36].dvalue, -2.0);
    EXPECT_EQ(check_attrib_exist(v, "y"), 36);
    EXPECT_EQ(check_attrib_exist(v, "area"), 3);
    EXPECT_EQ(check_attrib_exist(v, "z"), -1);
    EXPECT_EQ(get_num_attribs(r.get()), 37);

    // A second pass replaces the vector without touching the first.
    const attrib_array_handle first(v);
    prog->symbols->next->value = 8.0;
    attrib_array* second = init_attrib_array(r.get(), prog.get());
    EXPECT_NE(second, v);
    EXPECT_DOUBLE_EQ(v->entries[35].dvalue, 1.5);
    EXPECT_DOUBLE_EQ(second->entries[35].dvalue, 8.0);
}

TEST(AttribArray, LongNamesAreCutAndFoundByTheirCutForm)
{
    const std::string name(40, 'q');
    const std::string other = std::string(27, 'q') + "zzz";
    const program_handle prog(
        program_with({{name.c_str(), 1.0}, {other.c_str(), 2.0}, {"b", 3.0}}));
    const region_node_handle r = sample_region();
    std::string out;
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    attrib_array* v = init_attrib_array(r.get(), prog.get());
    out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::strlen(v->entries[35].name), 27u);
    EXPECT_EQ(check_attrib_exist(v, name.c_str()), 35);
    // The second name cuts to the same text: it is not added twice.
    EXPECT_STREQ(v->entries[36].name, "b");
    EXPECT_EQ(v->count, 37);
    EXPECT_EQ(v->entries[37].type, 0);
    EXPECT_EQ(out, "");
}

TEST(AttribArray, NamedEntriesRefuseDuplicatesAndOverflow)
{
    const region_node_handle r = sample_region();
    const program_handle prog(program_with({{"x", 0.0}}));
    attrib_array* v = init_attrib_array(r.get(), prog.get());
    v->count = 35;  // room for one more
    init_string_attrib("text", "label", v);
    EXPECT_EQ(v->count, 36);
    EXPECT_EQ(v->entries[35].type, ATTRIB_STRING);
    EXPECT_STREQ(v->entries[35].svalue, "text");
    init_int_attrib(5, "label", v);
    EXPECT_EQ(v->entries[35].type, ATTRIB_STRING);

    static attrib_array* full;
    full = v;
    EXPECT_EQ(captured([] { init_int_attrib(1, "more", full); }),
              "Not enough attributes initialized\n");
    EXPECT_EQ(v->count, 36);
    EXPECT_EQ(captured([] { init_int_base_attrib(1, 35, full); }),
              "Not enough attributes initialized in init int base attribute\n");
    EXPECT_EQ(captured([] { init_double_base_attrib(1, -1, full); }),
              "Not enough attributes initialized in init double base attribute\n");
    EXPECT_EQ(captured([] { init_int_base_attrib(7, 5, full); }),
              "Attr decompentropy; ID 5  TYPE IS NOT DECLARED INT\n");
    EXPECT_EQ(v->entries[5].ivalue, 7);
    EXPECT_EQ(v->count, 37);
}

TEST(AttribArray, CopyIsDeepAndNamesAreCopies)
{
    const region_node_handle r = sample_region();
    const program_handle prog(program_with({{"x", 4.0}}));
    attrib_array* v = init_attrib_array(r.get(), prog.get());
    const attrib_array_handle c(create_copy_attrib_array(v));
    EXPECT_EQ(c->count, v->count);
    EXPECT_EQ(c->capacity, v->capacity);
    EXPECT_NE(c->entries, v->entries);
    EXPECT_EQ(std::memcmp(c->entries, v->entries, sizeof(attrib_entry) * v->capacity), 0);

    int count = -1;
    char** names = get_attribs_from_node(r.get(), &count);
    ASSERT_EQ(count, 36);
    EXPECT_STREQ(names[0], "age");
    EXPECT_STREQ(names[35], "x");
    EXPECT_NE(names[35], v->entries[35].name);
    delete_attribute_names(names, count);
    EXPECT_EQ(get_attribs_from_node(nullptr, &count), nullptr);
    EXPECT_EQ(count, 0);
    delete_attribute_names(nullptr, 0);

    EXPECT_EQ(get_attrib_index(v, "x"), 35);
    EXPECT_EQ(get_attrib_index(v, "nothing"), -1);
    attrib_array empty{nullptr, 0, 0};
    EXPECT_EQ(get_attrib_index(&empty, "x"), -1);
}

TEST(AttribArray, TreeTemplateIsTheFirstSonsVector)
{
    const region_tree_handle tree(init_region_tree(4, 4, 2));
    EXPECT_EQ(get_root_attrib_vector(tree.get()), nullptr);
    EXPECT_EQ(get_attrib_name(tree.get(), 0), nullptr);

    tregionnode* first = vx_test::node(tree->root, {});
    tregionnode* second = vx_test::node(tree->root, {});
    tregionnode* grandson = vx_test::node(first, {});
    init_attrib_array(first, nullptr);
    init_attrib_array(second, nullptr);
    EXPECT_EQ(get_root_attrib_vector(tree.get()), first->attribs);
    EXPECT_STREQ(get_attrib_name(tree.get(), 3), "area");
    EXPECT_EQ(get_attrib_name(tree.get(), 35), nullptr);
    EXPECT_EQ(get_attrib_name(tree.get(), -1), nullptr);

    first->region_class = 2;
    grandson->region_class = 3;
    second->region_class = 4;
    declassify_tree(first);
    EXPECT_EQ(first->region_class, 0);
    EXPECT_EQ(grandson->region_class, 0);
    EXPECT_EQ(second->region_class, 4);
}

}  // namespace
