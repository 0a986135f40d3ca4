// Feeds arbitrary rule files to the parser and runs what it parsed on a small
// region tree, top-down from the root's sons and bottom-up from the leaves.
// The parser and the machine end the process on some rule files (an indexed
// scalar, an overflowing stack); those ends return here.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "analyse/rules/rule_parser.h"
#include "analyse/rules/rule_program.h"
#include "analyse/rules/virtualmachine.h"
#include "fuzz/fatal_returns.h"
#include "fuzz/quiet_stdout.h"
#include "imagecore/image.h"

namespace {

constexpr int kWidth = 8;
constexpr int kNodes = 4;

// Root (all 64 pixels), two sons (the left and right half), and a son of the
// first; contours are the border pixels of each area in tracing order.
struct small_tree {
    tregionnode nodes[kNodes] = {};
    int pixels[kNodes][64] = {};
    int contours[kNodes][32] = {};

    small_tree()
    {
        const int x0[] = {0, 0, 4, 1}, y0[] = {0, 0, 0, 1}, w[] = {8, 4, 4, 2}, h[] = {8, 8, 8, 3};
        const int father[] = {-1, 0, 0, 1};
        for (int n = 0; n < kNodes; ++n) {
            tregionnode& r = nodes[n];
            for (int y = 0; y < h[n]; ++y)
                for (int x = 0; x < w[n]; ++x)
                    pixels[n][r.size++] = (y0[n] + y) * kWidth + x0[n] + x;
            r.pixels = pixels[n];
            for (int x = 0; x < w[n]; ++x)
                contours[n][r.contour_size++] = y0[n] * kWidth + x0[n] + x;
            for (int y = 1; y < h[n]; ++y)
                contours[n][r.contour_size++] = (y0[n] + y) * kWidth + x0[n] + w[n] - 1;
            for (int x = w[n] - 2; x >= 0; --x)
                contours[n][r.contour_size++] = (y0[n] + h[n] - 1) * kWidth + x0[n] + x;
            r.contour = contours[n];
            r.father = father[n] >= 0 ? &nodes[father[n]] : nullptr;
            if (r.father != nullptr)
                ++r.father->nsons;
            r.birth = n;
            r.age = 3 - n % 3;
            r.file_index = n;
            r.meangrey = 40 * n;
            r.variance = 1.5 * n;
        }
    }
};

std::string input_path()
{
    return "/tmp/rule_parser_fuzz." + std::to_string(getpid()) + ".rule";
}

void run_tree(program* prog)
{
    small_tree tree;
    image* grey = create_image(kWidth, kWidth, 0);
    for (int p = 0; p < kWidth * kWidth; ++p)
        grey->pixels[p] = p * 3;
    vm* m = init_vm(grey, 3);
    m->program = prog;
    try {
        for (int n = 1; n < kNodes; ++n) {
            set_vm_td_mode(m);
            set_vm_data(m, &tree.nodes[n]);
            run_vm(m);
        }
        for (int n = kNodes - 1; n >= 1; --n) {
            set_vm_bu_mode(m);
            set_vm_data(m, &tree.nodes[n]);
            run_vm(m);
        }
    } catch (const process_end&) {}
    delete_vm(m);
    delete_image(grey);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    discard_stdout();

    const std::string path = input_path();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    program* prog = init_program();
    prog->width = kWidth;
    openyyin(path.c_str());
    unlink(path.c_str());
    int result = 1;
    try {
        result = yyparse(prog);
    } catch (const process_end&) {}
    closeyyin();
    if (result == 0)
        run_tree(prog);
    delete_program(prog);
    return 0;
}
