#include "analyse/query/query_analysis.h"

#include <climits>
#include <cstdio>
#include <vector>

#include "analyse/display/dual_analyse.h"
#include "analyse/handles.h"
#include "analyse/rules/rule_file.h"
#include "analyse/rules/rule_program.h"
#include "analyse/rules/virtualmachine.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/image.h"
#include "imagecore/report.h"

namespace {

constexpr int MARK_CANDIDATE = 1;
constexpr int MARK_EXCLUDED = 2;
constexpr int MARK_HIT = 3;

void reset_marks(region_tree* tree)
{
    // Significance goes too, so that no hit of an earlier query is collected
    // after this one.
    walk_preorder(tree->root, [](tregionnode* node) {
        node->td_mark = MARK_CANDIDATE;
        node->bu_mark = MARK_EXCLUDED;
        node->significance = 0.0;
    });
}

bool passes(vm* machine, tregionnode* region)
{
    set_vm_data(machine, region);
    return run_vm(machine) != 0;
}

void paint_contour(const tregionnode* region, image* labels)
{
    const long long pixels = static_cast<long long>(labels->width) * labels->height;
    const int value = labels->max < INT_MAX ? labels->max + 1 : INT_MAX;
    for (int i = 0; i < region->contour_size; ++i)
        if (region->contour[i] >= 0 && region->contour[i] < pixels)
            labels->pixels[region->contour[i]] = value;
}

void reconstruct_into(tregionnode** array, tregionnode* region, long long size)
{
    walk_preorder(region, [array, size](tregionnode* node) {
        if (node->significance == 1.0 && node->label >= 0 && node->label < size)
            array[node->label] = node;
    });
}

}  // namespace

int file_based_query_analysis(const char* filename, region_tree* tree, image* grey)
{
    reset_marks(tree);
    const program_handle prog(parse_rule_file(filename, tree->width));
    if (prog == nullptr) {
        vx_report("Parse Complication no change\n");
        return 0;
    }
    return query_analysis(prog.get(), tree, grey);
}

int program_based_query_analysis(program* prog, region_tree* tree, image* grey)
{
    reset_marks(tree);
    return query_analysis(prog, tree, grey);
}

int query_analysis(program* prog, region_tree* tree, image* grey)
{
    const vm_handle machine(init_vm(grey, tree->scales));
    machine->width = tree->width;
    machine->height = tree->height;
    machine->program = prog;
    // While rule faults do not end the process, a failed run gives every
    // region the marks it had.
    struct marks {
        tregionnode* node;
        int td_mark;
        int bu_mark;
        double significance;
    };
    std::vector<marks> before;
    if (!rule_faults_fatal())
        walk_preorder(tree->root, [&before](tregionnode* node) {
            before.push_back({node, node->td_mark, node->bu_mark, node->significance});
        });
    int hits = 0;
    for (tregionnode* son : sons_of(tree->root))
        region_query_analysis(son, machine.get(), &hits);
    if (machine->failed) {
        for (const marks& m : before) {
            m.node->td_mark = m.td_mark;
            m.node->bu_mark = m.bu_mark;
            m.node->significance = m.significance;
        }
        hits = 0;
    }
    return hits;
}

void region_query_analysis(tregionnode* region, vm* machine, int* hits)
{
    if (region == nullptr)
        return;
    auto top_down = [machine, hits](tregionnode* node) {
        node->significance = 0.0;
        if (node->td_mark != MARK_CANDIDATE)
            return;
        set_vm_td_mode(machine);
        if (!passes(machine, node))
            return;
        ++*hits;
        node->significance = 1.0;
        node->td_mark = MARK_HIT;
        unmark_top_down_analyse(node);
        if (node->bu_mark != MARK_CANDIDATE)
            mark_bottom_up_analyse(node);
    };
    auto bottom_up = [machine, hits](tregionnode* node) {
        if (node->bu_mark != MARK_CANDIDATE)
            return;
        set_vm_bu_mode(machine);
        if (!passes(machine, node))
            return;
        ++*hits;
        node->significance = 1.0;
        node->bu_mark = MARK_HIT;
    };
    walk_pre_post(region, top_down, bottom_up);
}

void qa_reconstruct_nodevector(tregionnode** array, region_tree* tree)
{
    const long long size = static_cast<long long>(tree->regions) + 1;
    for (tregionnode* son : sons_of(tree->root))
        reconstruct_into(array, son, size);
}

void qa_local_reconstruct_nodevector(tregionnode** array, tregionnode* region)
{
    reconstruct_into(array, region, LLONG_MAX);
}

void query_reconstruct_image(region_tree* tree, image* labels)
{
    for (tregionnode* son : sons_of(tree->root))
        region_reconstruct(son, labels, 1);
}

int region_reconstruct(tregionnode* region, image* labels, int paint)
{
    struct state {
        bool paint;
        bool painted_below;
        state for_son() const { return {paint, false}; }
    };
    int result = 0;
    auto enter = [labels](tregionnode* node, state& s) {
        if (s.paint && node->td_mark == MARK_HIT) {
            paint_contour(node, labels);
            s.paint = false;
        }
    };
    auto leave = [labels, &result](tregionnode* node, state& s, state* father) {
        bool painted = s.painted_below;
        if (!painted && node->bu_mark == MARK_HIT) {
            paint_contour(node, labels);
            painted = true;
        }
        if (father != nullptr)
            father->painted_below = father->painted_below || painted;
        else
            result = painted ? 1 : 0;
    };
    if (region != nullptr)
        walk_pre_post(region, state{paint != 0, false}, enter, leave);
    return result;
}

void mark_top_down_analyse(tregionnode* region)
{
    walk_preorder(region, [](tregionnode* node) { node->td_mark = MARK_CANDIDATE; });
}

void unmark_top_down_analyse(tregionnode* region)
{
    walk_preorder(region, [](tregionnode* node) { node->td_mark = MARK_EXCLUDED; });
}

void mark_bottom_up_analyse(tregionnode* region)
{
    walk_preorder(region, [](tregionnode* node) { node->bu_mark = MARK_CANDIDATE; });
}

void unmark_bottom_up_analyse(tregionnode* region)
{
    walk_preorder(region, [](tregionnode* node) { node->bu_mark = MARK_EXCLUDED; });
}

void initialize_significance(tregionnode* region, double value)
{
    walk_preorder(region, [region, value](tregionnode* node) {
        if (node != region)
            node->significance = value;
    });
}

void mark_overaged_regions(region_tree* tree)
{
    const int scales = tree->scales;
    for (tregionnode* son : sons_of(tree->root))
        if (son->age >= scales)
            son->selection = -1;
}

void mark_youngest_regions(tregionnode* region, int scale)
{
    walk_preorder(region, [scale](tregionnode* node) {
        if (static_cast<long long>(node->birth) + node->age < scale)
            node->selection = -2;
    });
}

tregionnode* compare_significance(tregionnode* a, tregionnode* b)
{
    tregionnode* larger = b->size > a->size ? b : a;
    tregionnode* smaller = larger == a ? b : a;
    if (larger->size <= 0)
        return larger;
    const double r = static_cast<double>(smaller->size) / larger->size;
    return r > 0.4 && r < 0.5 ? smaller : larger;
}

int pa_significance(const tregionnode* a, const tregionnode* b)
{
    return b->convexity > a->convexity ? 1 : 0;
}

int td_significance(const tregionnode* a, const tregionnode* b)
{
    return pa_significance(a, b);
}

int bu_significance()
{
    return 0;
}

double check_region_significance_td(const tregionnode*)
{
    return 0.0;
}

void top_down_region_select(tregionnode* region, tregionnode** array, int)
{
    // Below the start only regions of some significance are entered.
    walk_preorder_pruned(region, [region, array](tregionnode* node) {
        if (node != region && node->significance <= 0.0)
            return false;
        if (node->selection == -1 || node->selection == -2)
            return false;
        const double s = check_region_significance_td(node);
        if (s > 0.0)
            array[node->label] = node;
        return s < 0.0;
    });
}

void top_down_analyse(region_tree* bright, region_tree* dark, dual_analyse* dual)
{
    top_down_region_select(bright->root, dual->bright_nodes, 2);
    top_down_region_select(dark->root, dual->dark_nodes, 1);
}
