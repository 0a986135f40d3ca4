#pragma once

// Helpers of the rule language tests: parsing rule text and hand-made
// regions.

#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "analyse/rules/rule_file.h"
#include "analyse/rules/rule_parser.h"
#include "analyse/rules/rule_program.h"
#include "analyse/rules/virtualmachine.h"
#include "imagecore/image.h"
#include "testsupport/region_tree_builder.h"
#include "testsupport/vx_test.h"

namespace rule_test {

// While it lives, rule faults fail the parse or run instead of ending the
// process, as in an interactive program.
struct faults_not_fatal {
    faults_not_fatal() { set_rule_faults_fatal(false); }
    ~faults_not_fatal() { set_rule_faults_fatal(true); }
    faults_not_fatal(const faults_not_fatal&) = delete;
    faults_not_fatal& operator=(const faults_not_fatal&) = delete;
};

// A declaration of `a` whose sum needs `depth` slots of the value stack.
inline std::string nested_sum(int depth)
{
    std::string sum = "1";
    for (int i = 1; i < depth; ++i)
        sum = "1 + (" + sum + ")";
    return "a := " + sum + ";";
}

// A formula that needs `depth` slots of the predicate stack.
inline std::string nested_conjunction(int depth)
{
    std::string conjunction = "1 < 2";
    for (int i = 1; i < depth; ++i)
        conjunction = "1 < 2 && (" + conjunction + ")";
    return conjunction;
}

// A program whose declarations leave a value on the stack.
inline program* leftover_program()
{
    program* prog = init_program();
    prog->decls = init_command();
    prog->has_decls = 1;
    cmd_add_value(prog->decls, 1);
    return prog;
}

struct parsed {
    program* prog = nullptr;
    int result = -1;
    std::string output;

    parsed() = default;
    parsed(const parsed&) = delete;
    parsed& operator=(const parsed&) = delete;
    ~parsed() { delete_program(prog); }

    symbol* sym(const char* name) const { return get_symbol(prog, name); }
    double value(const char* name) const
    {
        symbol* s = sym(name);
        EXPECT_NE(s, nullptr) << name;
        return s != nullptr ? s->value : -12345.0;
    }
};

// Parses `text` as a rule file, capturing what the scanner and parser print
// unless told not to (a parse that ends the process must print freely).
inline void parse_text(parsed& p, const std::string& text, int width = 16, bool capture = true)
{
    vx_test::TempDir dir;
    const std::string path = dir.file("test.rule");
    vx_test::write_file(path, text);
    p.prog = init_program();
    p.prog->width = width;
    std::fflush(stdout);
    if (capture)
        testing::internal::CaptureStdout();
    openyyin(path.c_str());
    p.result = yyparse(p.prog);
    closeyyin();
    std::fflush(stdout);
    if (capture)
        p.output = testing::internal::GetCapturedStdout();
}

// A region of `size` pixels at the positions 100, 101, ... with this outer
// contour.
inline region_node_handle make_region(int size, const std::vector<int>& contour = {})
{
    std::vector<int> pixels(static_cast<size_t>(size > 0 ? size : 0));
    std::iota(pixels.begin(), pixels.end(), 100);
    return region_node_handle(vx_test::node(nullptr, pixels, contour));
}

// Contour of the border of a w x h rectangle whose top left pixel is at
// `origin`, in an image of the given width, walked clockwise.
inline std::vector<int> rectangle_contour(int origin, int w, int h, int width)
{
    std::vector<int> c;
    for (int x = 0; x < w; ++x)
        c.push_back(origin + x);
    for (int y = 1; y < h; ++y)
        c.push_back(origin + y * width + w - 1);
    for (int x = w - 2; x >= 0; --x)
        c.push_back(origin + (h - 1) * width + x);
    for (int y = h - 2; y > 0; --y)
        c.push_back(origin + y * width);
    return c;
}

// A machine over a 16 x 16 grey image whose pixel p holds p, with the
// program attached; runs the program on regions in the chosen mode.
struct machine {
    image* grey;
    vm* m;

    explicit machine(program* prog, int scales = 3)
    {
        grey = create_image(16, 16, 0);
        for (int p = 0; p < 256; ++p)
            grey->pixels[p] = p;
        m = init_vm(grey, scales);
        m->program = prog;
    }
    ~machine()
    {
        delete_vm(m);
        delete_image(grey);
    }
    machine(const machine&) = delete;
    machine& operator=(const machine&) = delete;

    int run(tregionnode* r, bool top_down = true)
    {
        if (top_down)
            set_vm_td_mode(m);
        else
            set_vm_bu_mode(m);
        set_vm_data(m, r);
        return run_vm(m);
    }

    // Runs on a region of the given area and perimeter, capturing output.
    int run_area(int area, std::string* output = nullptr, bool top_down = true)
    {
        const region_node_handle r = make_region(area);
        std::fflush(stdout);
        testing::internal::CaptureStdout();
        const int pass = run(r.get(), top_down);
        std::fflush(stdout);
        const std::string text = testing::internal::GetCapturedStdout();
        if (output != nullptr)
            *output = text;
        return pass;
    }
};

}  // namespace rule_test
