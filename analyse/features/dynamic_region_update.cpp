#include "analyse/features/dynamic_region_update.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analyse/attributes/attributes.h"
#include "analyse/attributes/detail/attrib_maker.h"
#include "analyse/features/detail/feature_pass.h"
#include "analyse/features/region_geometry.h"
#include "analyse/fourier/lFouriercontour.h"
#include "analyse/handles.h"
#include "analyse/rules/detail/vm_descriptor.h"
#include "analyse/rules/rule_file.h"
#include "analyse/rules/rule_program.h"
#include "analyse/rules/virtualmachine.h"
#include "filter/tree_workers.h"
#include "imagecore/fatal.h"
#include "imagecore/report.h"

namespace {

// The rule pass over subtrees of one grey image with one machine. While
// rule faults do not end the process, the pass keeps each node as it found
// it until conclude(), which gives them back after a failed run, as does a
// pass left without conclude() by what a node threw (exhausted memory).
//
// The subtrees' nodes first get the fields that depend on them alone (grey
// statistics, moments, bounding box, area quotient) and their contour's
// Fourier descriptor, on the tree workers; then the machine runs node by
// node in the walk's order, sons before their father, keeping the symbols'
// values after each node; then, on the workers again, each node gets its
// attribute vector.
class rule_pass {
public:
    rule_pass(image* grey, vm* machine)
        : grey_(grey),
          machine_(machine),
          vectors_(machine->program),
          undoable_(!rule_faults_fatal())
    {}
    ~rule_pass()
    {
        if (!concluded_)
            finish(false);
    }
    rule_pass(const rule_pass&) = delete;
    rule_pass& operator=(const rule_pass&) = delete;

    // The pass over the subtrees, one after the other.
    void run(const std::vector<tregionnode*>& subtrees)
    {
        if (machine_->failed || subtrees.empty())
            return;
        // A flat image may only carry stale bounds; one look per pass is enough.
        if (grey_->max == grey_->min)
            update_image_struct(grey_);
        std::vector<tregionnode*> nodes;
        for (tregionnode* subtree : subtrees)
            walk_preorder(subtree, [&nodes](tregionnode* n) { nodes.push_back(n); });
        if (undoable_)
            for (tregionnode* n : nodes)
                saved_.push_back({n, *n});
        const program* prog = machine_->program;
        const size_t ncoeffs = prog->num_fdc > 0 ? static_cast<size_t>(prog->num_fdc) : 0;
        std::vector<double> descriptors(nodes.size() * ncoeffs);
        measure(nodes, descriptors, ncoeffs);
        const size_t nsymbols = static_cast<size_t>(vectors_.symbols());
        std::vector<double> symbols(nodes.size() * nsymbols);
        std::vector<size_t> at;  // the walk's nodes by pre-order index
        size_t count = 0;
        for (tregionnode* subtree : subtrees)
            walk_pre_post(
                subtree,
                [&](tregionnode* n) {
                    at.push_back(count++);
                    if (!machine_->failed && n->size < 0)
                        vx_report(" Bizarre Size ");
                },
                [&](tregionnode* n) {
                    const size_t i = at.back();
                    at.pop_back();
                    evaluate(n, ncoeffs > 0 ? &descriptors[i * ncoeffs] : nullptr,
                             symbols.data() + i * nsymbols);
                });
        if (machine_->failed)
            return;
        std::vector<double>().swap(descriptors);
        in_runs(nodes.size(), [&](size_t i) {
            if (!undoable_)
                delete_attrib_array(nodes[i]->attribs);
            vectors_.make(nodes[i], symbols.data() + i * nsymbols);
        });
    }

    // Ends the pass (before the machine goes); false when the machine
    // failed, every node the pass touched then having its fields and
    // attribute vector back.
    bool conclude() { return finish(!machine_->failed); }

private:
    bool finish(bool ok)
    {
        concluded_ = true;
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

    // Runs of nodes handed to a worker at a time.
    static constexpr size_t kNodesPerRun = 128;

    // visit(i) for i in 0 .. count - 1 on the tree workers, in runs; each
    // worker first makes its state with start().
    template <class Start, class Visit>
    static void in_runs(size_t count, Start start, Visit visit)
    {
        const int runs = static_cast<int>((count + kNodesPerRun - 1) / kNodesPerRun);
        std::atomic<int> next{0};
        run_tree_threads(std::max(1, std::min(get_tree_workers(), runs)), [&](int) {
            auto state = start();
            for (int r = next++; r < runs; r = next++) {
                const size_t end = std::min(count, (static_cast<size_t>(r) + 1) * kNodesPerRun);
                for (size_t i = static_cast<size_t>(r) * kNodesPerRun; i < end; ++i)
                    visit(i, state);
            }
        });
    }

    template <class Visit>
    static void in_runs(size_t count, Visit visit)
    {
        in_runs(
            count, [] { return 0; }, [&](size_t i, int) { visit(i); });
    }

    void measure(const std::vector<tregionnode*>& nodes, std::vector<double>& descriptors,
                 size_t ncoeffs) const
    {
        const int width = machine_->program->width;
        in_runs(
            nodes.size(), [this] { return grey_counter(grey_); },
            [&](size_t i, grey_counter& counter) {
                tregionnode* n = nodes[i];
                own_fields(n, counter);
                if (ncoeffs > 0)
                    get_fourier_descriptor(n->contour, n->contour_size, static_cast<int>(ncoeffs),
                                           &descriptors[i * ncoeffs], width);
            });
    }

    void own_fields(tregionnode* n, grey_counter& counter) const
    {
        const grey_stats s = counter.measure(n->pixels, n->pixels != nullptr ? n->size : 0);
        store_grey_stats(n, s);
        n->maxgrey = s.max;
        n->mingrey = s.min;
        n->stddev = std::sqrt(n->variance);
        n->decompentropy = 0.0;
        const int range = grey_->max - grey_->min;
        n->meangreyn = range > 0 ? static_cast<double>(n->meangrey - grey_->min) / range : 0.0;
        second_area_moment(n, grey_->width, grey_->height);
        boundingBox(n, grey_->width);
        n->area_quotient = father_area_quotient(n);
    }

    // After the sons: decomposition entropy and the machine's bottom-up run,
    // whose symbol values go into `symbols`.
    void evaluate(tregionnode* n, const double* descriptor, double* symbols)
    {
        if (machine_->failed)
            return;
        n->decompentropy = decomposition_entropy(n);
        set_vm_bu_mode(machine_);
        set_vm_data(machine_, n);
        run_vm_with_descriptor(machine_, descriptor);
        vectors_.read_symbols(symbols);
    }

    struct saved_node {
        tregionnode* node;
        tregionnode before;
    };

    image* grey_;
    vm* machine_;
    attrib_vector_maker vectors_;
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
    pass.run({node});
    pass.conclude();
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
        const son_range sons = sons_of(root);
        pass.run(std::vector<tregionnode*>(sons.begin(), sons.end()));
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
