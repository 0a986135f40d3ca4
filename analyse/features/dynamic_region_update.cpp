#include "analyse/features/dynamic_region_update.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analyse/attributes/attributes.h"
#include "analyse/features/detail/feature_pass.h"
#include "analyse/features/region_geometry.h"
#include "analyse/handles.h"
#include "analyse/rules/rule_file.h"
#include "analyse/rules/rule_program.h"
#include "analyse/rules/virtualmachine.h"
#include "imagecore/fatal.h"
#include "imagecore/report.h"

namespace {

// The rule pass over subtrees of one grey image with one machine. While
// rule faults do not end the process, the pass keeps each node as it found
// it until conclude(), which gives them back after a failed run.
class rule_pass {
public:
    rule_pass(image* grey, vm* machine)
        : counter_(grey), grey_(grey), machine_(machine), undoable_(!rule_faults_fatal())
    {}
    ~rule_pass()
    {
        if (!concluded_)
            conclude();
    }
    rule_pass(const rule_pass&) = delete;
    rule_pass& operator=(const rule_pass&) = delete;

    void run(tregionnode* node)
    {
        walk_pre_post(
            node, [this](tregionnode* n) { own_fields(n); }, [this](tregionnode* n) { finish(n); });
    }

    // Ends the pass (before the machine goes); false when the machine
    // failed, every node the pass touched then having its fields and
    // attribute vector back.
    bool conclude()
    {
        concluded_ = true;
        const bool ok = !machine_->failed;
        for (const saved_node& s : saved_) {
            if (ok) {
                delete_attrib_array(s.before.attribs);
            } else {
                if (s.node->attribs != s.before.attribs)
                    delete_attrib_array(s.node->attribs);
                *s.node = s.before;
            }
        }
        saved_.clear();
        return ok;
    }

private:
    void own_fields(tregionnode* n)
    {
        if (machine_->failed)
            return;
        if (undoable_)
            saved_.push_back({n, *n});
        if (n->size < 0)
            vx_report(" Bizarre Size ");
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
        if (machine_->failed)
            return;
        n->decompentropy = decomposition_entropy(n);
        set_vm_bu_mode(machine_);
        set_vm_data(machine_, n);
        run_vm(machine_);
        if (machine_->failed)
            return;
        if (!undoable_)
            delete_attrib_array(n->attribs);
        init_attrib_array(n, machine_->program);
    }

    struct saved_node {
        tregionnode* node;
        tregionnode before;
    };

    grey_counter counter_;
    image* grey_;
    vm* machine_;
    bool range_checked_ = false;
    bool undoable_;
    bool concluded_ = false;
    std::vector<saved_node> saved_;
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
    rule_pass pass(grey, machine);
    pass.run(node);
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
    bool ran = false;
    if (prog != nullptr) {
        const vm_handle machine(init_vm(grey, tree->scales));
        machine->program = prog.get();
        rule_pass pass(grey, machine.get());
        for (tregionnode* son : sons_of(root))
            pass.run(son);
        ran = pass.conclude();
    } else {
        vx_report("Parse Complication no change\n");
    }

    tregionnode* first = first_son(root);
    if (first == nullptr) {
        vx_report("!Warning! Tree %s has no nodes\n", tree->name);
        return 0;
    }
    root->attribs = first->attribs;
    std::free(tree->attr_buffer);
    tree->attr_buffer = nullptr;
    if (first->attribs != nullptr)
        tree->attr_buffer = static_cast<int*>(
            vx_calloc(static_cast<size_t>(first->attribs->capacity), sizeof(int),
                      exit_code::region_features_out_of_memory,
                      "Could not allocate memory for the Attribute Buffer -> PANIC"));
    return ran ? tree->regions : 0;
}

int init_single_node_attributes(const char* rule_file, tregionnode* node, image* grey,
                                int reference)
{
    update_image_struct(grey);
    const program_handle prog(parse_rule_file(rule_file, grey->width));
    if (prog == nullptr)
        return 0;
    const vm_handle machine(init_vm(grey, 0));
    machine->program = prog.get();
    dynamic_region_update(node, grey, machine.get(), reference);
    return machine->failed ? 0 : 1;
}
