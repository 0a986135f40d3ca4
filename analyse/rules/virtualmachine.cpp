#include "analyse/rules/virtualmachine.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "analyse/attributes/base_attributes.h"
#include "analyse/detail/trunc_int.h"
#include "analyse/fourier/lFouriercontour.h"
#include "analyse/rules/detail/rule_failure.h"
#include "analyse/rules/detail/vm_descriptor.h"
#include "analyse/rules/rule_file.h"
#include "imagecore/fatal.h"
#include "imagecore/image.h"
#include "imagecore/report.h"

// ---- records ----

vm* init_vm(image* grey, int scales)
{
    if (grey == nullptr)
        vx_fatal(exit_code::rule_machine_without_image,
                 "ATTENTION NO IMAGE DURING VM INITIALIZATION\n");
    vm* m = init_vm_old_deprecated();
    m->width = grey->width;
    m->height = grey->height;
    m->scales = scales;
    m->grey = grey;
    return m;
}

vm* init_vm_old_deprecated()
{
    clear_rule_failure();
    return static_cast<vm*>(
        vx_calloc(1, sizeof(vm), exit_code::out_of_memory, "Could not alloc VM -> PANIC\n"));
}

void reset_vm(vm* m)
{
    m->td_mode = 0;
    m->bu_mode = 0;
    std::memset(m->values, 0, sizeof m->values);
    m->nvalues = 0;
    std::memset(m->preds, 0, sizeof m->preds);
    m->npreds = 0;
    std::memset(m->attributes, 0, sizeof m->attributes);
    m->failed = 0;
}

void delete_vm(vm* m)
{
    std::free(m);
}

void set_vm_td_mode(vm* m)
{
    m->td_mode = 1;
    m->bu_mode = 0;
}

void set_vm_bu_mode(vm* m)
{
    m->td_mode = 0;
    m->bu_mode = 1;
}

void vm_set_attribute_register(vm* m, int index, double value)
{
    if (index >= 0 && index < NUM_BASE_ATTRIBUTES)
        m->attributes[index] = value;
}

void set_vm_data(vm* m, tregionnode* region)
{
    for (int i = 0; i < NUM_BASE_ATTRIBUTES; ++i)
        vm_set_attribute_register(m, i, region != nullptr ? get_base_attribute(region, i) : 0.0);
    m->region = region;
}

// ---- stacks ----

namespace {

// A rule fault ends the process, or prints its message and stops the machine
// (`m`, when there is one to stop); a stopped machine reports nothing more.
void fault(vm* m, int code, const char* message)
{
    if (rule_faults_fatal())
        vx_fatal(code, "%s", message);
    if (m == nullptr || !m->failed)
        vx_report("%s", message);
    if (m != nullptr && !m->failed)
        note_rule_failure(message);
    if (m != nullptr)
        m->failed = 1;
}

template <typename T>
void push_slot(vm* m, T* slots, int& count, T value, const char* full)
{
    if (count >= VM_STACK_SLOTS - 1) {
        fault(m, exit_code::rule_stack_overflow, full);
        return;
    }
    slots[count++] = value;
}

// The top entry; 0 after the fault when the stack is empty. A peek has no
// machine to stop (`m` null).
template <typename T>
T top_slot(vm* m, const T* slots, int count, const char* empty)
{
    if (count == 0) {
        fault(m, exit_code::rule_stack_underflow, empty);
        return T{};
    }
    return slots[count - 1];
}

const char* const value_stack_empty = "FATAL Error vm value stack empty\n";
const char* const pred_stack_empty = "FATAL Error vm predicate stack empty\n";

}  // namespace

void push_vm_value(vm* m, double value)
{
    push_slot(m, m->values, m->nvalues, value, "FATAL Error vm value stack full\n");
}

double peek_vm_value(const vm* m)
{
    return top_slot(static_cast<vm*>(nullptr), m->values, m->nvalues, value_stack_empty);
}

double pop_value(vm* m)
{
    const double v = top_slot(m, m->values, m->nvalues, value_stack_empty);
    if (m->nvalues > 0)
        --m->nvalues;
    return v;
}

void push_pred(vm* m, int pred)
{
    push_slot(m, m->preds, m->npreds, pred, "FATAL Error vm predicate stack full\n");
}

int peek_vm_pred(const vm* m)
{
    return top_slot(static_cast<vm*>(nullptr), m->preds, m->npreds, pred_stack_empty);
}

int pop_pred(vm* m)
{
    const int p = top_slot(m, m->preds, m->npreds, pred_stack_empty);
    if (m->npreds > 0)
        --m->npreds;
    return p;
}

// ---- execution ----

namespace {

double attribute_register(const vm* m, int index)
{
    // "Father." and "Son." carry indices beyond the registers and read 0.
    return index >= 0 && index < NUM_BASE_ATTRIBUTES ? m->attributes[index] : 0.0;
}

double global_attribute(const vm* m, int index)
{
    switch (index) {
    case 0: return m->width;
    case 1: return m->height;
    case 2: return m->scales;
    default: return 0.0;
    }
}

double modulo(double left, double right)
{
    const int l = trunc_to_int(left);
    const int r = trunc_to_int(right);
    // -1 as well: INT_MIN % -1 overflows.
    return r == 0 || r == -1 ? 0.0 : l % r;
}

void execute_op(vm* m, int code)
{
    if (code == OP_NOT) {
        push_pred(m, pop_pred(m) != 1 ? 1 : 0);
        return;
    }
    if (code == OP_AND || code == OP_OR) {
        const int right = pop_pred(m);
        const int left = pop_pred(m);
        push_pred(m, code == OP_AND ? (left != 0 && right != 0) : (left != 0 || right != 0));
        return;
    }
    if (code == OP_SONS)
        return;
    if (code >= OP_SIN && code <= OP_LOG) {
        const double v = pop_value(m);
        double r = 0.0;
        switch (code) {
        case OP_SIN: r = std::sin(v); break;
        case OP_COS: r = std::cos(v); break;
        case OP_TAN: r = std::tan(v); break;
        case OP_ASIN: r = std::asin(v); break;
        case OP_ACOS: r = std::acos(v); break;
        case OP_ATAN: r = std::atan(v); break;
        case OP_SQRT: r = std::sqrt(v); break;
        default: r = std::log(v); break;
        }
        push_vm_value(m, r);
        return;
    }
    const double right = pop_value(m);
    const double left = pop_value(m);
    switch (code) {
    case OP_LT: push_pred(m, left < right); break;
    case OP_GT: push_pred(m, left > right); break;
    case OP_GE: push_pred(m, left >= right); break;
    case OP_LE: push_pred(m, left <= right); break;
    case OP_EQ: push_pred(m, left == right); break;
    case OP_ADD: push_vm_value(m, left + right); break;
    case OP_SUB: push_vm_value(m, left - right); break;
    case OP_MUL: push_vm_value(m, left * right); break;
    case OP_DIV: push_vm_value(m, right == 0.0 ? 0.0 : left / right); break;
    case OP_MOD: push_vm_value(m, modulo(left, right)); break;
    case OP_POW: push_vm_value(m, std::pow(left, right)); break;
    default: break;
    }
}

// The element the index names, or null (after a message) when the symbol is
// no array or the index lies outside it.
double* array_element(symbol* sym, double index)
{
    if (sym->kind != SYMBOL_ARRAY) {
        vx_report("%s is not an  array\n", sym->name);
        return nullptr;
    }
    const int i = trunc_to_int(index);
    const int size = trunc_to_int(sym->value);
    if (i < 0 || i >= size || i >= sym->nelements) {
        vx_report("%d No Valid Index for array %s(%d)\n", i, sym->name, size);
        return nullptr;
    }
    return &sym->elements[i];
}

void init_array(symbol* sym, double count)
{
    if (sym->kind != SYMBOL_ARRAY) {
        vx_report("FATAL: %s is not an  array\n", sym->name);
        return;
    }
    const int n = trunc_to_int(count) < 0 ? 0 : trunc_to_int(count);
    std::free(sym->elements);
    sym->elements = static_cast<double*>(std::calloc(n == 0 ? 1 : n, sizeof(double)));
    if (sym->elements == nullptr) {
        vx_report("Could not alloc %d elements for array %s\n", n, sym->name);
        sym->nelements = 0;
        sym->value = 0.0;
        return;
    }
    sym->nelements = n;
    sym->value = n;
}

double region_pixel(const tregionnode* region, double index)
{
    const int i = trunc_to_int(index);
    if (region == nullptr || region->pixels == nullptr || i < 0 || i >= region->size)
        return 0.0;
    return region->pixels[i];
}

double image_pixel(const image* grey, double position)
{
    const long long p = trunc_to_int(position);
    if (grey == nullptr || grey->pixels == nullptr || p < 0 ||
        p >= static_cast<long long>(grey->width) * grey->height)
        return 0.0;
    return grey->pixels[p];
}

// Executes one instruction and returns the next one to execute.
command* execute(vm* m, command* c)
{
    symbol* sym = c->operand.sym;
    switch (c->type) {
    case OP: execute_op(m, c->operand.index); break;
    case VALUE: push_vm_value(m, c->operand.value); break;
    case ATTRIBUTE:
    case ATTRIBUTE_FATHER: push_vm_value(m, attribute_register(m, c->operand.index)); break;
    case SYMBOL: push_vm_value(m, sym->value); break;
    case STORE_VALUE: sym->value = pop_value(m); break;
    case GLOBAL_ATTRIBUTE: push_vm_value(m, global_attribute(m, c->operand.index)); break;
    case GET_IMAGE_INTENSITY: push_vm_value(m, image_pixel(m->grey, pop_value(m))); break;
    case GET_ELEMENT_POSITION: push_vm_value(m, region_pixel(m->region, pop_value(m))); break;
    case LOOP: {
        const int count = trunc_to_int(pop_value(m));
        sym->value += 1.0;
        if (count > sym->value && sym->loop_start != nullptr)
            return sym->loop_start->next;
        sym->value = 0.0;
        break;
    }
    case INIT_ARRAY: init_array(sym, pop_value(m)); break;
    case STORE_ARRAY_VALUE: {
        const double v = pop_value(m);
        if (double* e = array_element(sym, pop_value(m)))
            *e = v;
        break;
    }
    case READ_ARRAY_VALUE: {
        const double* e = array_element(sym, pop_value(m));
        push_vm_value(m, e != nullptr ? *e : 0.0);
        break;
    }
    case BRANCH_ON_TRUE:
    case BRANCH_ON_FALSE: {
        const int pred = pop_pred(m);
        const bool taken = c->type == BRANCH_ON_TRUE ? pred != 0 : pred == 0;
        if (taken && c->operand.target != nullptr)
            return c->operand.target->next;
        break;
    }
    default: break;
    }
    return c->next;
}

bool has_contour(const tregionnode* region)
{
    return region != nullptr && region->contour != nullptr && region->contour_size >= 2;
}

// Gives the "fdc_" symbols that follow "numfdc" the current region's Fourier
// descriptor coefficients (`given`, or computed here). A region without a
// contour of two positions gets zeros: the symbols must not keep the values
// of the region evaluated before.
void update_fdc_symbols(vm* m, const double* given)
{
    const program* prog = m->program;
    const int n = prog->num_fdc;
    if (n <= 0)
        return;
    symbol* count = get_symbol(prog, "numfdc");
    if (count == nullptr)
        return;
    if (trunc_to_int(count->value) != n) {
        fault(m, exit_code::rule_fdc_count_changed,
              "Dont Mess with the number of FDCs in update fds in symboltable\n");
        return;
    }
    std::vector<double> computed;
    const double* coeffs = given;
    if (coeffs == nullptr) {
        computed.assign(static_cast<size_t>(n), 0.0);
        if (has_contour(m->region))
            get_fourier_descriptor(m->region->contour, m->region->contour_size, n, computed.data(),
                                   prog->width);
        coeffs = computed.data();
    }
    symbol* s = count->next;
    for (int i = 0; i < n && s != nullptr; ++i, s = s->next) {
        char expected[SYMBOL_NAME_MAX + 1];
        std::snprintf(expected, sizeof expected, "fdc_%d", i);
        if (std::strcmp(expected, s->name) != 0)
            vx_report("RED Alert ID %d NOT A FDS NAME %s\n", i, s->name);
        s->value = coeffs[i];
    }
}

bool interval_passes(const vm* m, const interval_vector* iv)
{
    if (iv == nullptr)
        return true;
    double sum = 0.0;
    for (int i = 0; i < iv->count; ++i) {
        const interval_entry& e = iv->entries[i];
        const double v = e.sym != nullptr ? e.sym->value : attribute_register(m, e.attribute);
        if (v < e.low)
            sum += std::fabs((e.low - v) / (e.high - e.low));
        else if (v > e.high)
            sum += std::fabs((v - e.high) / (e.high - e.low));
    }
    return sum <= iv->threshold;
}

bool fds_passes(const vm* m, fds* f)
{
    if (!has_contour(m->region))
        return false;
    get_fourier_descriptor(m->region->contour, m->region->contour_size, f->n, f->work,
                           m->program->width);
    return euclidian_similarity(f->work, f->values, f->n) <= f->threshold;
}

}  // namespace

void run_rule(vm* m)
{
    command* c = m->current;
    while (c != nullptr && !m->failed)
        c = execute(m, c);
    m->current = nullptr;
    if (m->nvalues != 0 && !m->failed)
        fault(m, exit_code::rule_stack_not_empty, "FATAL  empty\n");
}

int run_vm(vm* m)
{
    return run_vm_with_descriptor(m, nullptr);
}

int run_vm_with_descriptor(vm* m, const double* coefficients)
{
    if (m->failed)
        return 0;
    program* prog = m->program;
    if (prog->has_decls) {
        m->current = prog->decls;
        run_rule(m);
        if (!m->failed)
            update_fdc_symbols(m, coefficients);
        if (m->failed)
            return 0;
    }
    command* rule = nullptr;
    const interval_vector* iv = nullptr;
    fds* f = nullptr;
    if (m->td_mode) {
        if (!prog->has_td_rule)
            return 0;
        rule = prog->td_rule;
        iv = prog->td_interval;
        f = prog->td_fds;
    } else {
        if (!m->bu_mode || !prog->has_bu_rule)
            return 0;
        rule = prog->bu_rule;
        iv = prog->bu_interval;
        f = prog->bu_fds;
    }
    // The bottom slot holds 1 until the rule pushes its first predicate, so
    // an empty rule passes.
    m->preds[0] = 1;
    m->npreds = 0;
    const bool pass = interval_passes(m, iv);
    if (pass) {
        m->current = rule;
        run_rule(m);
        if (m->failed) {
            m->npreds = 0;
            return 0;
        }
    }
    int result = pass && m->preds[0] != 0;
    if (m->npreds > 1)
        vx_report("Warning There are still Values on Logic Stack\n");
    m->npreds = 0;
    if (result && f != nullptr)
        result = fds_passes(m, f);
    return result;
}
