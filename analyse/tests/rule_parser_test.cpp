// The scanner and the grammar: what a rule file's text turns into, and the
// messages of rejected files.
#include <clocale>
#include <cmath>
#include <string>

#include "analyse/tests/rule_test_support.h"

using namespace rule_test;

TEST(RuleScanner, WordsSplitIntoKeywordsAndIdentifiers)
{
    parsed p;
    parse_text(p,
               "DECLS: a := ageX; b := centroidXn; agex := 1; rea := 2; e := agex + Area;\n"
               "f := sons + Sons(2); { a comment; x := 5 } g := 7.; #DECLS");
    ASSERT_EQ(p.result, 0) << p.output;
    EXPECT_EQ(p.output, "Unrecognized character: X\nUnrecognized character: A\nFile Parsed\n");
    // "agex" and "rea" are identifiers; "sons" is the attribute, "Sons" the
    // operator; the comment declares nothing.
    EXPECT_NE(p.sym("agex"), nullptr);
    EXPECT_NE(p.sym("rea"), nullptr);
    EXPECT_EQ(p.sym("x"), nullptr);
    EXPECT_EQ(get_symbol_num(p.prog), 7);

    const region_node_handle r = make_region(3);
    r->age = 4;
    r->centroidXn = 0.5;
    r->nsons = 2;
    machine m(p.prog);
    testing::internal::CaptureStdout();
    m.run(r.get());
    testing::internal::GetCapturedStdout();
    EXPECT_DOUBLE_EQ(p.value("a"), 4);
    EXPECT_DOUBLE_EQ(p.value("b"), 0.5);
    EXPECT_DOUBLE_EQ(p.value("e"), 3);
    EXPECT_DOUBLE_EQ(p.value("f"), 4);
    EXPECT_DOUBLE_EQ(p.value("g"), 7);
}

TEST(RuleScanner, CrlfFilesParseWithOneMessagePerCarriageReturn)
{
    parsed p;
    parse_text(p, "DECLS:\r\na := 1;\r\n#DECLS\r\n");
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.output,
              "Unrecognized character: \r\nUnrecognized character: \r\n"
              "Unrecognized character: \r\nFile Parsed\n");
}

TEST(RuleScanner, LongIdentifiersAreCut)
{
    const std::string longname(60, 'q');
    parsed p;
    parse_text(p, "DECLS: " + longname + " := 2; " + longname + "z := 3; #DECLS");
    // Both cut to the same 51 characters: the second is the known symbol.
    ASSERT_EQ(p.result, 0) << p.output;
    EXPECT_EQ(get_symbol_num(p.prog), 1);
    EXPECT_EQ(std::string(p.prog->symbols->next->name), std::string(51, 'q'));
    EXPECT_NE(p.output.find("is longer than 51 characters and is cut"), std::string::npos);
}

TEST(RuleScanner, BracesWithoutTheirCloseOnTheLineAreSkippedOneByOne)
{
    parsed p;
    parse_text(p, "DECLS: { a := 1; {{ b := 2;\n{ c := 3; } d := 4; {\n#DECLS");
    ASSERT_EQ(p.result, 0) << p.output;
    EXPECT_EQ(p.output,
              "Unrecognized character: {\nUnrecognized character: {\n"
              "Unrecognized character: {\nUnrecognized character: {\nFile Parsed\n");
    EXPECT_NE(p.sym("a"), nullptr);
    EXPECT_NE(p.sym("b"), nullptr);
    EXPECT_EQ(p.sym("c"), nullptr);
    EXPECT_NE(p.sym("d"), nullptr);
}

TEST(RuleScanner, TokensLongerThanTheInputBufferAreWhole)
{
    const std::string comment = "{" + std::string(1 << 20, 'c') + "}";
    const std::string digits(300000, '1');
    parsed p;
    parse_text(p, "DECLS:\n" + comment + "\n" + std::string(100000, 'v') + " := " + digits + "." +
                      digits + ";\n" + std::string(200000, ' ') + "w := 1;\n#DECLS\n");
    ASSERT_EQ(p.result, 0) << p.output.substr(0, 200);
    EXPECT_EQ(get_symbol_num(p.prog), 2);
    machine m(p.prog);
    m.run_area(1);
    EXPECT_EQ(p.prog->symbols->next->value, HUGE_VAL);
    EXPECT_DOUBLE_EQ(p.value("w"), 1);
}

TEST(RuleScanner, NumbersIgnoreTheProcessLocale)
{
    const char* saved = std::setlocale(LC_ALL, nullptr);
    const std::string previous = saved != nullptr ? saved : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "de_DE") == nullptr)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    parsed p;
    parse_text(p, "DECLS: a := 7.25; #DECLS RULES: TD: NNIV: 0.5 #NNIV #RULES");
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_EQ(p.result, 0);
    EXPECT_NE(p.output.find("Threshold 0.500000"), std::string::npos) << p.output;
    machine m(p.prog);
    m.run_area(1);
    EXPECT_DOUBLE_EQ(p.value("a"), 7.25);
}

TEST(RuleGrammar, SyntaxErrorsNameTheTokens)
{
    struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"DECLS: a := 1 #DECLS", "syntax error, unexpected DECLSCL, expecting DELIM"},
        {"DECLS: a := 1;", "syntax error, unexpected $end, expecting DECLSCL"},
        {"RULES: BU: TD: #RULES", "syntax error, unexpected TDRULE, expecting RULESCL"},
        {"DECLS: a := -area; #DECLS", "syntax error, unexpected ATTRIB, expecting CONST"},
        {"RULES: TD: 1 < 2 < 3 #RULES", "syntax error, unexpected RELOP_LT, expecting RULESCL"},
        {"DECLS: a := 1; b := c; #DECLS", "syntax error, unexpected NEWIDENT"},
        {"DECLS: IF 1 < 2 THEN a := 1 FI; #DECLS", "syntax error, unexpected FI, expecting DELIM"},
    };
    for (const auto& c : cases) {
        parsed p;
        parse_text(p, c.text);
        EXPECT_EQ(p.result, 1) << c.text;
        EXPECT_NE(p.output.find(std::string("Parser Statement: ") + c.message + "\n"),
                  std::string::npos)
            << c.text << "\n"
            << p.output;
    }
}

TEST(RuleGrammar, AcceptedOddities)
{
    for (const char* text : {"DECLS: ;; a := 1;; #DECLS", "RULES: #RULES", "RULES: TD: #RULES", "",
                             "DECLS: FOR i IN i ROF; #DECLS RULES: TD: 0 - area < 1 #RULES"}) {
        parsed p;
        parse_text(p, text);
        EXPECT_EQ(p.result, 0) << text << "\n" << p.output;
    }
}

TEST(RuleGrammar, DeepNestingExhaustsTheParserStack)
{
    parsed ok;
    parse_text(ok,
               "DECLS: a := " + std::string(4000, '(') + "1" + std::string(4000, ')') + "; #DECLS");
    EXPECT_EQ(ok.result, 0);

    parsed deep;
    parse_text(deep, "DECLS: a := " + std::string(10001, '(') + "1; #DECLS");
    EXPECT_EQ(deep.result, 2);
    EXPECT_EQ(deep.output, "Parser Statement: memory exhausted\n");
}

TEST(RuleInput, MissingFilesAreNeverRead)
{
    vx_test::TempDir dir;
    const program_handle prog(init_program());
    testing::internal::CaptureStdout();
    EXPECT_EQ(openyyin(dir.file("absent.rule").c_str()), 0);
    EXPECT_EQ(yyparse(prog.get()), 1);
    closeyyin();
    EXPECT_EQ(openyyin(nullptr), 0);
    EXPECT_EQ(yyparse(prog.get()), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Could not Open File"), std::string::npos) << out;
    EXPECT_NE(out.find("No Input Filename given\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("File Parsed"), std::string::npos) << out;
    EXPECT_EQ(get_symbol_num(prog.get()), 0);
}

TEST(RuleInput, EachOpenStartsAfresh)
{
    vx_test::TempDir dir;
    // The first file fails in mid-token stream, leaving unread text behind.
    vx_test::write_file(dir.file("bad.rule"), "DECLS: a := 1 b := 2; c := 3; #DECLS");
    vx_test::write_file(dir.file("good.rule"), "DECLS: z := 5; #DECLS");
    const program_handle bad(init_program());
    const program_handle good(init_program());
    testing::internal::CaptureStdout();
    openyyin(dir.file("bad.rule").c_str());
    EXPECT_EQ(yyparse(bad.get()), 1);
    openyyin(dir.file("good.rule").c_str());
    EXPECT_EQ(yyparse(good.get()), 0);
    closeyyin();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(get_symbol_num(good.get()), 1);
    EXPECT_NE(get_symbol(good.get(), "z"), nullptr);
}

TEST(RuleMachine, StackLimitsEndTheProcess)
{
    // 99 values fit on the stack; the 100th does not.
    std::string sum = "1";
    for (int i = 0; i < 98; ++i)
        sum = "1 + (" + sum + ")";
    parsed fits;
    parse_text(fits, "DECLS: a := " + sum + "; #DECLS");
    ASSERT_EQ(fits.result, 0);
    machine m(fits.prog);
    m.run_area(1);
    EXPECT_DOUBLE_EQ(fits.value("a"), 99);

    const auto run_ends = [](const std::string& text, const char* message) {
        EXPECT_VX_FATAL(
            {
                parsed p;
                parse_text(p, text, 16, false);
                machine deep(p.prog);
                deep.run(nullptr);
            },
            42, message);
    };
    run_ends("DECLS: a := 1 + (" + sum + "); #DECLS", "FATAL Error vm value stack full");
    run_ends("RULES: TD: " + nested_conjunction(100) + " #RULES",
             "FATAL Error vm predicate stack full");

    // Code that leaves a value behind.
    const program_handle prog(leftover_program());
    machine leftover(prog.get());
    EXPECT_VX_FATAL(leftover.run(nullptr), 42, "FATAL  empty");

    const vm_handle bare(init_vm_old_deprecated());
    EXPECT_VX_FATAL(pop_pred(bare.get()), 42, "FATAL Error vm predicate stack empty");
    EXPECT_VX_FATAL(init_vm(nullptr, 1), 42, "ATTENTION NO IMAGE DURING VM INITIALIZATION");
}

TEST(RuleFaults, WhenNotFatalTheParseFailsWithTheSameMessage)
{
    const faults_not_fatal interactive;
    for (const char* text :
         {"DECLS: x := 1; y := x[0]; #DECLS", "DECLS: x := 1; x[0] := 2; #DECLS"}) {
        parsed p;
        parse_text(p, text);
        EXPECT_EQ(p.result, 1);
        EXPECT_NE(p.output.find("Symbol x in not an array \n"), std::string::npos) << p.output;
    }
}

TEST(RuleFaults, WhenNotFatalTheMachineStopsWithTheSameMessage)
{
    const faults_not_fatal interactive;
    // Each fault is reported once; the machine then runs nothing until reset.
    const auto fails_with = [](const std::string& text, const std::string& message) {
        parsed p;
        parse_text(p, text);
        ASSERT_EQ(p.result, 0) << p.output;
        machine m(p.prog);
        std::string out;
        EXPECT_EQ(m.run_area(1, &out), 0);
        EXPECT_EQ(out, message);
        EXPECT_EQ(m.m->failed, 1);
        EXPECT_EQ(m.run_area(1, &out), 0);
        EXPECT_EQ(out, "");
        reset_vm(m.m);
        EXPECT_EQ(m.m->failed, 0);
    };
    fails_with("DECLS: " + nested_sum(100) + " #DECLS", "FATAL Error vm value stack full\n");
    fails_with("RULES: TD: " + nested_conjunction(100) + " #RULES",
               "FATAL Error vm predicate stack full\n");

    const program_handle prog(leftover_program());
    machine leftover(prog.get());
    std::string out;
    EXPECT_EQ(leftover.run_area(1, &out), 0);
    EXPECT_EQ(out, "FATAL  empty\n");

    parsed fdc;
    parse_text(fdc, "DECLS: FDC := 2; numfdc := 5; #DECLS");
    machine m(fdc.prog);
    const region_node_handle r = make_region(36, rectangle_contour(2 * 16 + 2, 6, 6, 16));
    testing::internal::CaptureStdout();
    EXPECT_EQ(m.run(r.get()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Dont Mess with the number of FDCs in update fds in symboltable\n");
    EXPECT_EQ(m.m->failed, 1);

    const vm_handle bare(init_vm_old_deprecated());
    testing::internal::CaptureStdout();
    EXPECT_EQ(pop_value(bare.get()), 0.0);
    EXPECT_EQ(peek_vm_pred(bare.get()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "FATAL Error vm value stack empty\nFATAL Error vm predicate stack empty\n");
    EXPECT_EQ(bare->nvalues, 0);
}

TEST(RuleFaults, TheLastFailureSaysWhyAndWhereForAPersonToRead)
{
    const faults_not_fatal interactive;
    vx_test::TempDir dir;
    const auto failure_of_parse = [&dir](const std::string& text) {
        vx_test::write_file(dir.file("r.rule"), text);
        program* prog = nullptr;
        vx_test::printed_by([&] { prog = parse_rule_file(dir.file("r.rule").c_str(), 16); });
        delete_program(prog);
        return std::string(last_rule_failure());
    };
    EXPECT_EQ(failure_of_parse("RULES:\nTD: area >\n#RULES\n"),
              "line 3: syntax error, unexpected RULESCL");
    EXPECT_EQ(failure_of_parse("DECLS:\n x := 1;\n\n y := x[0]; #DECLS\n"),
              "line 4: Symbol x in not an array");
    EXPECT_EQ(failure_of_parse("RULES: TD: area > 3 #RULES\n"), "");
    vx_test::printed_by([&] { parse_rule_file(dir.file("missing.rule").c_str(), 16); });
    EXPECT_EQ(std::string(last_rule_failure()), "the rule file does not open");

    // A run that fails, and the next machine, which starts afresh.
    parsed p;
    parse_text(p, "DECLS: " + nested_sum(100) + " #DECLS");
    {
        machine m(p.prog);
        m.run_area(1);
        EXPECT_EQ(std::string(last_rule_failure()), "FATAL Error vm value stack full");
    }
    machine next(p.prog);
    EXPECT_EQ(std::string(last_rule_failure()), "");
}
