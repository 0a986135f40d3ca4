#include "analyse/features/dynamic_region_update.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "analyse/attributes/attributes.h"
#include "analyse/features/detail/feature_pass.h"
#include "analyse/features/region_geometry.h"
#include "analyse/handles.h"
#include "analyse/rules/detail/rule_file.h"
#include "analyse/rules/rule_program.h"
#include "analyse/rules/virtualmachine.h"
#include "imagecore/fatal.h"

namespace {

// The rule pass over subtrees of one grey image with one machine.
class rule_pass {
public:
    rule_pass(image* grey, vm* machine) : counter_(grey), grey_(grey), machine_(machine) {}

    void run(tregionnode* node)
    {
        walk_pre_post(node, [this](tregionnode* n) { own_fields(n); },
                      [this](tregionnode* n) { finish(n); });
    }

private:
    void own_fields(tregionnode* n)
    {
        if (n->size < 0)
            std::printf(" Bizarre Size ");
        const grey_stats s = counter_.measure(n->pixels, n->pixels != nullptr ? n->size : 0);
        store_grey_stats(n, s);
        n->maxgrey = s.max;
        n->mingrey = s.min;
        n->stddev = std::sqrt(n->variance);
        n->decompentropy = 0.0;
        // A flat image may only carry stale bounds; one look per pass is enough.
        if (!range_checked_ && grey_->max == grey_->min)
            update_image_struct(grey_);
        range_checked_ = true;
        const int range = grey_->max - grey_->min;
        n->meangreyn = range > 0 ? static_cast<double>(n->meangrey - grey_->min) / range : 0.0;
        second_area_moment(n, grey_->width, grey_->height);
        boundingBox(n, grey_->width);
        n->area_quotient = father_area_quotient(n);
    }

    // After the sons: decomposition entropy, the machine's bottom-up run and
    // the attribute vector built from both.
    void finish(tregionnode* n)
    {
        n->decompentropy = decomposition_entropy(n);
        set_vm_bu_mode(machine_);
        set_vm_data(machine_, n);
        run_vm(machine_);
        delete_attrib_array(n->attribs);
        init_attrib_array(n, machine_->program);
    }

    grey_counter counter_;
    image* grey_;
    vm* machine_;
    bool range_checked_ = false;
};

// Drops the root's link to its first son's vector, or frees a vector of its
// own, before the sons' vectors are replaced.
void release_root_vector(tregionnode* root)
{
    const tregionnode* first = first_son(root);
    if (root->attribs != nullptr && (first == nullptr || root->attribs != first->attribs))
        delete_attrib_array(root->attribs);
    root->attribs = nullptr;
}

}  // namespace

void dynamic_region_update(tregionnode* node, image* grey, vm* machine, int)
{
    if (node == nullptr || grey == nullptr || machine == nullptr)
        return;
    rule_pass(grey, machine).run(node);
}

int dynamic_region_tree_update(region_tree* tree, image* grey, const char* rule_file, int)
{
    if (grey == nullptr || !grey_fits_tree(tree, grey))
        return 0;
    tregionnode* root = tree->root;
    root->size = grey->width * grey->height;
    update_image_struct(grey);
    set_root_shape(root, grey->width, grey->height, image_volume(grey));

    const program_handle prog(parse_rule_file(rule_file, grey->width));
    release_root_vector(root);
    if (prog != nullptr) {
        const vm_handle machine(init_vm(grey, tree->scales));
        machine->program = prog.get();
        rule_pass pass(grey, machine.get());
        for (tregionnode* son : sons_of(root))
            pass.run(son);
    } else {
        std::printf("Parse Complication no change\n");
    }

    tregionnode* first = first_son(root);
    if (first == nullptr) {
        std::printf("!Warning! Tree %s has no nodes\n", tree->name);
        return 0;
    }
    root->attribs = first->attribs;
    std::free(tree->attr_buffer);
    tree->attr_buffer = nullptr;
    if (first->attribs != nullptr)
        tree->attr_buffer = static_cast<int*>(vx_calloc(
            static_cast<size_t>(first->attribs->capacity), sizeof(int), 100,
            "Could not allocate memory for the Attribute Buffer -> PANIC"));
    return prog != nullptr ? tree->regions : 0;
}

int init_single_node_attributes(const char* rule_file, tregionnode* node, image* grey, int reference)
{
    update_image_struct(grey);
    const program_handle prog(parse_rule_file(rule_file, grey->width));
    if (prog == nullptr)
        return 0;
    const vm_handle machine(init_vm(grey, 0));
    machine->program = prog.get();
    dynamic_region_update(node, grey, machine.get(), reference);
    return 1;
}
