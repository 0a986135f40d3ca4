// Rule files parsed and run on hand-made regions: the values the symbols get
// and whether a region passes.
#include <cmath>

#include "analyse/attributes/base_attributes.h"
#include "analyse/tests/rule_test_support.h"

using namespace rule_test;

namespace {

// Parses a declarations section and runs it once on a region of the area.
void run_decls(parsed& p, const std::string& decls, int area = 10, std::string* output = nullptr)
{
    parse_text(p, "DECLS:\n" + decls + "\n#DECLS\n");
    ASSERT_EQ(p.result, 0) << p.output;
    machine m(p.prog);
    m.run_area(area, output);
}

}  // namespace

TEST(RuleDecls, ArithmeticFollowsPrecedenceAndSafeDivision)
{
    parsed p;
    run_decls(p,
              "a := 7.25; b := a * 2 - 1; c := 2 + 3 * 4; d := 10 - 4 - 3;\n"
              "e := 7 % 2.9; f := 5 / 0; g := 5 % 0.5; h := 0 - area;\n"
              "i := (2 + 3) * 4; j := pow(2, 10) / 4 / 2; k := -3 + sqrt(16);\n"
              "l := Sons(3) + log(1); m := Father. + Son.;",
              12);
    EXPECT_DOUBLE_EQ(p.value("a"), 7.25);
    EXPECT_DOUBLE_EQ(p.value("b"), 13.5);
    EXPECT_DOUBLE_EQ(p.value("c"), 14);
    EXPECT_DOUBLE_EQ(p.value("d"), 3);
    EXPECT_DOUBLE_EQ(p.value("e"), 1);  // 7 modulo 2
    EXPECT_DOUBLE_EQ(p.value("f"), 0);
    EXPECT_DOUBLE_EQ(p.value("g"), 0);  // the divisor truncates to 0
    EXPECT_DOUBLE_EQ(p.value("h"), -12);
    EXPECT_DOUBLE_EQ(p.value("i"), 20);
    EXPECT_DOUBLE_EQ(p.value("j"), 128);
    EXPECT_DOUBLE_EQ(p.value("k"), 1);
    EXPECT_DOUBLE_EQ(p.value("l"), 3);
    EXPECT_DOUBLE_EQ(p.value("m"), 0);
}

TEST(RuleDecls, ModuloOfExtremeValuesStaysDefined)
{
    parsed p;
    run_decls(p, "a := (0 - 3000000000) % (0 - 1); b := 1000000000000 % 7; c := (0 - 7) % 2;");
    EXPECT_DOUBLE_EQ(p.value("a"), 0);
    EXPECT_DOUBLE_EQ(p.value("b"), 2147483647 % 7);
    EXPECT_DOUBLE_EQ(p.value("c"), -1);
}

TEST(RuleDecls, GlobalAttributesImageAndRegionReads)
{
    parsed p;
    run_decls(p,
              "w := width; h := height; s := scales; v := image(37.9); o := image(0 - 1);\n"
              "u := image(256); r := region(2); q := region(5); n := region(0 - 1);",
              5);
    EXPECT_DOUBLE_EQ(p.value("w"), 16);
    EXPECT_DOUBLE_EQ(p.value("h"), 16);
    EXPECT_DOUBLE_EQ(p.value("s"), 3);
    EXPECT_DOUBLE_EQ(p.value("v"), 37);
    EXPECT_DOUBLE_EQ(p.value("o"), 0);
    EXPECT_DOUBLE_EQ(p.value("u"), 0);
    EXPECT_DOUBLE_EQ(p.value("r"), 102);
    EXPECT_DOUBLE_EQ(p.value("q"), 0);
    EXPECT_DOUBLE_EQ(p.value("n"), 0);
}

TEST(RuleDecls, IdentifiersAreNewOnFirstOccurrenceOnly)
{
    parsed p;
    parse_text(p, "DECLS: x := x + 1; y := x * 10; #DECLS");
    ASSERT_EQ(p.result, 0) << p.output;
    ASSERT_EQ(get_symbol_num(p.prog), 2);
    EXPECT_STREQ(p.prog->symbols->next->name, "x");
    machine m(p.prog);
    m.run_area(1);
    m.run_area(1);
    // Symbols keep their values from one region to the next.
    EXPECT_DOUBLE_EQ(p.value("x"), 2);
    EXPECT_DOUBLE_EQ(p.value("y"), 20);
}

TEST(RuleDecls, ElseRunsOnlyWhenTheConditionFails)
{
    const char* decls =
        "IF area > 5 THEN a := 1; IF area > 8 THEN b := 1; ELSE b := 2; FI; ELSE a := 2; FI;\n"
        "IF (area < 3) THEN c := 1; FI;";
    for (int area : {3, 6, 9}) {
        parsed p;
        run_decls(p, decls, area);
        EXPECT_DOUBLE_EQ(p.value("a"), area > 5 ? 1 : 2) << area;
        EXPECT_DOUBLE_EQ(p.value("b"), area > 8 ? 1 : area > 5 ? 2 : 0) << area;
        EXPECT_DOUBLE_EQ(p.value("c"), 0) << area;
    }
}

TEST(RuleDecls, LoopsRunAtLeastOnceAndResetTheirCounter)
{
    parsed p;
    run_decls(p,
              "half := 0.5; three := 3; n := 0; sum := 0; last := 0 - 1;\n"
              "FOR i IN half n := n + 1; last := i; ROF;\n"
              "FOR j IN three sum := sum + j; ROF;\n"
              "FOR k IN width m := k; ROF;\n"
              "FOR z IN Father. once := z + 1; ROF;");
    EXPECT_DOUBLE_EQ(p.value("n"), 1);
    EXPECT_DOUBLE_EQ(p.value("last"), 0);
    EXPECT_DOUBLE_EQ(p.value("sum"), 3);
    EXPECT_DOUBLE_EQ(p.value("j"), 0);
    EXPECT_DOUBLE_EQ(p.value("m"), 15);
    EXPECT_DOUBLE_EQ(p.value("once"), 1);
}

TEST(RuleDecls, ArraysStayWithinTheirElements)
{
    parsed p;
    std::string out;
    run_decls(p,
              "h := ARRAY 3; h[1] := 5; h[2.7] := 7; h[3] := 9; h[0 - 1] := 9;\n"
              "a := h[1]; b := h[2]; c := h[3]; n := h;\n"
              "FOR i IN h total := total + h[i]; ROF;\n"
              "e := ARRAY 0 - 4; f := e[0];",
              10, &out);
    EXPECT_DOUBLE_EQ(p.value("a"), 5);
    EXPECT_DOUBLE_EQ(p.value("b"), 7);
    EXPECT_DOUBLE_EQ(p.value("c"), 0);
    EXPECT_DOUBLE_EQ(p.value("n"), 3);
    EXPECT_DOUBLE_EQ(p.value("total"), 12);
    EXPECT_DOUBLE_EQ(p.value("e"), 0);
    EXPECT_NE(out.find("3 No Valid Index for array h(3)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("-1 No Valid Index for array h(3)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("0 No Valid Index for array e(0)\n"), std::string::npos) << out;
}

TEST(RuleDecls, ArrayUseOfAScalarIsRefused)
{
    // At parse time an indexed scalar ends the process.
    EXPECT_VX_FATAL(
        {
            parsed p;
            parse_text(p, "DECLS: x := 1; y := x[0]; #DECLS", 16, false);
        },
        42, "Symbol x in not an array");
    // At run time (a program built by hand) it is reported and reads 0.
    const program_handle prog(init_program());
    symbol* x = put_symbol_id(prog.get(), "x");
    symbol* y = put_symbol_id(prog.get(), "y");
    prog->decls = init_command();
    prog->has_decls = 1;
    cmd_add_value(prog->decls, 0);
    cmd_add_read_array(prog->decls, x);
    cmd_add_store(prog->decls, y);
    cmd_add_value(prog->decls, 4);
    cmd_add_init_array(prog->decls, y);
    y->kind = SYMBOL_SCALAR;
    machine m(prog.get());
    std::string out;
    m.run_area(1, &out);
    EXPECT_EQ(out, "x is not an  array\nFATAL: y is not an  array\n");
    EXPECT_DOUBLE_EQ(y->value, 0);
}

TEST(RuleRules, PassAndFailOfRegions)
{
    parsed p;
    parse_text(p, "RULES: TD: area > 5 && area < 3 || area = 7 BU: ! area > 5 && area > 2 #RULES");
    ASSERT_EQ(p.result, 0) << p.output;
    machine m(p.prog);
    // (area > 5 and area < 3) or area = 7
    EXPECT_EQ(m.run_area(7), 1);
    EXPECT_EQ(m.run_area(6), 0);
    // (not area > 5) and area > 2
    EXPECT_EQ(m.run_area(4, nullptr, false), 1);
    EXPECT_EQ(m.run_area(6, nullptr, false), 0);
    EXPECT_EQ(m.run_area(2, nullptr, false), 0);
}

TEST(RuleRules, RuleOfManyTermsKeepsEveryInstructionInOrder)
{
    // 65,536 comparisons joined by "&&"; only the last one can fail.
    std::string rule = "RULES: TD: area > 1";
    for (int t = 1; t < 65535; ++t)
        rule += " && area > 1";
    rule += " && area < 9 #RULES";
    parsed p;
    parse_text(p, rule);
    ASSERT_EQ(p.result, 0);
    int count = 0;
    for (const command* c = p.prog->td_rule->next; c != nullptr; c = c->next)
        ++count;
    EXPECT_EQ(count, 3 * 65536 + 65535);
    EXPECT_EQ(last_command(p.prog->td_rule)->operand.index, OP_AND);
    machine m(p.prog);
    EXPECT_EQ(m.run_area(5), 1);
    EXPECT_EQ(m.run_area(9), 0);

    // Instructions linked by hand after the last append are found too.
    command* head = init_command();
    cmd_add_value(head, 1);
    command* linked = init_command();
    last_command(head)->next = linked;
    EXPECT_EQ(last_command(head), linked);
    EXPECT_EQ(cmd_add_value(head, 2), linked->next);
    delete_commandlist(head);
}

TEST(RuleRules, EmptyOperandsCountAsTrue)
{
    struct {
        const char* rule;
        int area;
        int pass;
    } cases[] = {
        {"&& area > 5", 6, 1},
        {"&& area > 5", 4, 0},
        {"area > 5 ||", 4, 1},
        {"!", 4, 0},
        {"! ()", 4, 0},
        {"() && area < 2", 1, 1},
        {"", 4, 1},
        {"area > 5 && (||)", 6, 1},
    };
    for (const auto& c : cases) {
        parsed p;
        parse_text(p, std::string("RULES: TD: ") + c.rule + " #RULES");
        ASSERT_EQ(p.result, 0) << c.rule << p.output;
        machine m(p.prog);
        std::string out;
        EXPECT_EQ(m.run_area(c.area, &out), c.pass) << c.rule;
        EXPECT_EQ(out, "") << c.rule;
    }
}

TEST(RuleRules, RulesWithoutCodeShareTheOtherRule)
{
    parsed td_only;
    parse_text(td_only, "RULES: TD: area > 5 #RULES");
    ASSERT_EQ(td_only.result, 0);
    EXPECT_EQ(td_only.prog->has_bu_rule, 0);
    machine m1(td_only.prog);
    EXPECT_EQ(m1.run_area(6, nullptr, false), 0);

    parsed empty_bu;
    parse_text(empty_bu, "RULES: TD: area > 5 BU: #RULES");
    ASSERT_EQ(empty_bu.result, 0);
    EXPECT_EQ(empty_bu.prog->bu_rule, empty_bu.prog->td_rule);
    machine m2(empty_bu.prog);
    EXPECT_EQ(m2.run_area(6, nullptr, false), 1);
    EXPECT_EQ(m2.run_area(5, nullptr, false), 0);

    parsed empty_section;
    parse_text(empty_section, "RULES: #RULES DECLS: ; ; #DECLS");
    EXPECT_EQ(empty_section.result, 0) << empty_section.output;
    machine m3(empty_section.prog);
    EXPECT_EQ(m3.run_area(6), 0);
}

TEST(RuleRules, IntervalConditions)
{
    parsed p;
    parse_text(p,
               "DECLS: q := area * 2; #DECLS\n"
               "RULES: TD: NNIV: 0.5 area(10, 20, 1); q(0, 100, 3); #NNIV #RULES");
    ASSERT_EQ(p.result, 0) << p.output;
    ASSERT_EQ(p.prog->td_interval->count, 2);
    machine m(p.prog);
    EXPECT_EQ(m.run_area(15), 1);
    EXPECT_EQ(m.run_area(25), 1);  // (25 - 20) / 10 = 0.5
    EXPECT_EQ(m.run_area(26), 0);
    EXPECT_EQ(m.run_area(5), 1);
    EXPECT_EQ(m.run_area(4), 0);
    EXPECT_EQ(m.run_area(51), 0);  // both entries out

    testing::internal::CaptureStdout();
    print_interval_vector(p.prog->td_interval);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Interval Vector has 2 Values and Threshold 0.500000 \n1.000000\n3.000000\n");

    // The empty top-down rule takes the bottom-up code; "Father." reads 0.
    parsed both;
    parse_text(both, "RULES: TD: NNIV: 0 Father.(-1, 1, 1); fresh #NNIV BU: area > 4 #RULES");
    ASSERT_EQ(both.result, 0) << both.output;
    EXPECT_NE(both.output.find("Threshold 0.000000\nUndefined Symbol fresh\n"), std::string::npos)
        << both.output;
    EXPECT_EQ(both.prog->td_interval->count, 1);
    EXPECT_EQ(both.prog->bu_interval, nullptr);
    machine m2(both.prog);
    EXPECT_EQ(m2.run_area(5), 1);
    EXPECT_EQ(m2.run_area(4), 0);
}
