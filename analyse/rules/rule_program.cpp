#include "analyse/rules/rule_program.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "analyse/detail/c_locale_print.h"
#include "imagecore/fatal.h"
#include "imagecore/report.h"

// ---- symbols ----

namespace {

void set_symbol_name(symbol* sym, const char* name)
{
    std::strncpy(sym->name, name, SYMBOL_NAME_MAX);
    sym->name[SYMBOL_NAME_MAX] = '\0';
}

void append_symbol(program* prog, symbol* sym)
{
    sym->next = nullptr;
    prog->symbols_tail->next = sym;
    prog->symbols_tail = sym;
}

}  // namespace

symbol* init_symbol()
{
    auto* sym = static_cast<symbol*>(vx_calloc(1, sizeof(symbol), exit_code::out_of_memory,
                                               "Could not alloc symbol -> PANIC\n"));
    set_symbol_name(sym, "dummy");
    sym->kind = SYMBOL_UNDEFINED;
    return sym;
}

void delete_symbols(symbol* first)
{
    while (first != nullptr) {
        symbol* next = first->next;
        std::free(first->elements);
        std::free(first);
        first = next;
    }
}

void init_symlist(program* prog)
{
    delete_symbols(prog->symbols);
    prog->symbols = init_symbol();
    prog->symbols_tail = prog->symbols;
}

int get_symbol_num(const program* prog)
{
    int n = 0;
    for (const symbol* s = prog->symbols->next; s != nullptr; s = s->next)
        ++n;
    return n;
}

symbol* get_symbol(const program* prog, const char* name)
{
    for (symbol* s = prog->symbols->next; s != nullptr; s = s->next)
        if (std::strcmp(s->name, name) == 0)
            return s;
    return nullptr;
}

symbol* put_symbol(program* prog, symbol* sym)
{
    if (symbol* existing = get_symbol(prog, sym->name))
        return existing;
    append_symbol(prog, sym);
    return nullptr;
}

symbol* put_symbol_id(program* prog, const char* name)
{
    symbol* sym = init_symbol();
    set_symbol_name(sym, name);
    if (put_symbol(prog, sym) != nullptr) {
        delete_symbols(sym);
        return nullptr;
    }
    return sym;
}

// ---- instructions ----

command* init_command()
{
    auto* cmd =
        static_cast<command*>(vx_calloc(1, sizeof(command), exit_code::rule_command_out_of_memory,
                                        "Could not alloc VM Command list entry !\n"));
    cmd->type = UNDEF;
    return cmd;
}

void delete_vm_command(command* cmd)
{
    std::free(cmd);
}

void delete_commandlist(command* head)
{
    while (head != nullptr) {
        command* next = head->next;
        delete_vm_command(head);
        head = next;
    }
}

// A list head is an UNDEF instruction, which never reads its operand: it
// keeps the last instruction appended, so that appends take constant time.
// The walk on from there finds what was linked by hand.
command* last_command(command* head)
{
    command* last =
        head->type == UNDEF && head->operand.target != nullptr ? head->operand.target : head;
    while (last->next != nullptr)
        last = last->next;
    return last;
}

namespace {

command* append_command(command* head, int type)
{
    command* cmd = init_command();
    cmd->type = type;
    last_command(head)->next = cmd;
    if (head->type == UNDEF)
        head->operand.target = cmd;
    return cmd;
}

command* append_symbol_command(command* head, int type, symbol* sym)
{
    command* cmd = append_command(head, type);
    cmd->operand.sym = sym;
    return cmd;
}

command* append_index_command(command* head, int type, int index)
{
    command* cmd = append_command(head, type);
    cmd->operand.index = index;
    return cmd;
}

void set_branch(command* before, command* head, int type)
{
    command* placeholder = before->next;
    if (placeholder == nullptr)
        return;
    if (placeholder->type != UNDEF)
        vx_report("Command defined %d at %p!\n", placeholder->type,
                  static_cast<void*>(placeholder));
    placeholder->type = type;
    placeholder->operand.target = append_command(head, NOP);
}

}  // namespace

command* cmd_add_value(command* head, double value)
{
    command* cmd = append_command(head, VALUE);
    cmd->operand.value = value;
    return cmd;
}

command* cmd_add_op(command* head, int op)
{
    return append_index_command(head, OP, op);
}

command* cmd_add_attrib(command* head, int index)
{
    return append_index_command(head, ATTRIBUTE, index);
}

command* cmd_add_global_attrib(command* head, int index)
{
    return append_index_command(head, GLOBAL_ATTRIBUTE, index);
}

command* cmd_add_attrib_father(command* head, int index)
{
    return append_index_command(head, ATTRIBUTE_FATHER, index);
}

command* cmd_add_symbol(command* head, symbol* sym)
{
    return append_symbol_command(head, SYMBOL, sym);
}

command* cmd_add_store(command* head, symbol* sym)
{
    sym->kind = SYMBOL_SCALAR;
    return append_symbol_command(head, STORE_VALUE, sym);
}

command* cmd_add_init_array(command* head, symbol* sym)
{
    sym->kind = SYMBOL_ARRAY;
    return append_symbol_command(head, INIT_ARRAY, sym);
}

command* cmd_add_store_array(command* head, symbol* sym)
{
    return append_symbol_command(head, STORE_ARRAY_VALUE, sym);
}

command* cmd_add_read_array(command* head, symbol* sym)
{
    return append_symbol_command(head, READ_ARRAY_VALUE, sym);
}

command* cmd_add_loop(command* head, symbol* sym)
{
    sym->kind = SYMBOL_SCALAR;
    return append_symbol_command(head, LOOP, sym);
}

command* cmd_add_get_element_position(command* head)
{
    return append_command(head, GET_ELEMENT_POSITION);
}

command* cmd_add_get_element_intensity(command* head)
{
    return append_command(head, GET_IMAGE_INTENSITY);
}

command* cmd_add_branch(command* head)
{
    return append_command(head, UNDEF);
}

void cmd_set_branch_on_false(command* before, command* head)
{
    set_branch(before, head, BRANCH_ON_FALSE);
}

void cmd_set_branch_on_true(command* before, command* head)
{
    set_branch(before, head, BRANCH_ON_TRUE);
}

void set_symbol_code_position(command* head, symbol* sym)
{
    sym->loop_start = last_command(head);
}

// ---- interval and Fourier descriptor conditions ----

interval_vector* init_interval_vector(double threshold)
{
    auto* iv = static_cast<interval_vector*>(
        vx_calloc(1, sizeof(interval_vector), exit_code::out_of_memory,
                  "Could not alloc interval vector -> PANIC\n"));
    iv->capacity = 10;
    iv->threshold = threshold;
    iv->entries = static_cast<interval_entry*>(
        vx_calloc(iv->capacity, sizeof(interval_entry), exit_code::out_of_memory,
                  "Could not alloc interval vector -> PANIC\n"));
    return iv;
}

namespace {

void add_interval(interval_vector* iv, int attribute, symbol* sym, double low, double high,
                  double weight)
{
    if (iv->count == iv->capacity) {
        auto* grown = static_cast<interval_entry*>(
            vx_calloc(iv->capacity + 10, sizeof(interval_entry), exit_code::out_of_memory,
                      "Could not alloc interval vector -> PANIC\n"));
        std::memcpy(grown, iv->entries, iv->count * sizeof(interval_entry));
        std::free(iv->entries);
        iv->entries = grown;
        iv->capacity += 10;
    }
    iv->entries[iv->count++] = {low, high, weight, attribute, sym};
}

}  // namespace

void add_intervall_attribute(interval_vector* iv, int attribute, double low, double high,
                             double weight)
{
    add_interval(iv, attribute, nullptr, low, high, weight);
}

void add_intervall_symbol(interval_vector* iv, symbol* sym, double low, double high, double weight)
{
    add_interval(iv, -1, sym, low, high, weight);
}

void delete_interval_vector(interval_vector* iv)
{
    if (iv == nullptr)
        return;
    std::free(iv->entries);
    std::free(iv);
}

void print_interval_vector(const interval_vector* iv)
{
    c_printf("Interval Vector has %d Values and Threshold %f \n", iv->count, iv->threshold);
    for (int i = 0; i < iv->count; ++i)
        c_printf("%f\n", iv->entries[i].weight);
}

fds* init_fds(int n, double threshold)
{
    auto* f = static_cast<fds*>(
        vx_calloc(1, sizeof(fds), exit_code::out_of_memory, "Could not alloc FDS -> PANIC\n"));
    f->n = n;
    f->threshold = threshold;
    f->values = static_cast<double*>(
        vx_calloc(n, sizeof(double), exit_code::out_of_memory, "Could not alloc FDS -> PANIC\n"));
    f->work = static_cast<double*>(
        vx_calloc(n, sizeof(double), exit_code::out_of_memory, "Could not alloc FDS -> PANIC\n"));
    return f;
}

void delete_fds(fds* f)
{
    if (f == nullptr)
        return;
    std::free(f->values);
    std::free(f->work);
    std::free(f);
}

void print_fds(const fds* f)
{
    c_printf("FDS has %d Values and Threshold %f \n", f->n, f->threshold);
    for (int i = 0; i < f->n; ++i)
        c_printf("%f\n", f->values[i]);
}

void init_fds_symlist(program* prog, int n)
{
    prog->num_fdc = n;
    symbol* count = get_symbol(prog, "numfdc");
    if (count == nullptr)
        count = put_symbol_id(prog, "numfdc");
    count->value = n;
    for (int i = 0; i < n; ++i) {
        char name[SYMBOL_NAME_MAX + 1];
        std::snprintf(name, sizeof name, "fdc_%d", i);
        put_symbol_id(prog, name);
    }
}

// ---- the program ----

program* init_program()
{
    auto* prog = static_cast<program*>(vx_calloc(1, sizeof(program), exit_code::out_of_memory,
                                                 "Could not alloc rule program -> PANIC\n"));
    init_symlist(prog);
    return prog;
}

void delete_program(program* prog)
{
    if (prog == nullptr)
        return;
    // A rule without code of its own shares the other rule's list, and a
    // parse that failed leaves its unfinished list only at the cursor.
    command* lists[] = {prog->decls, prog->td_rule, prog->bu_rule, prog->cursor};
    for (int i = 0; i < 4; ++i) {
        bool seen = false;
        for (int j = 0; j < i; ++j)
            seen = seen || lists[j] == lists[i];
        if (!seen)
            delete_commandlist(lists[i]);
    }
    delete_symbols(prog->symbols);
    delete_fds(prog->td_fds);
    delete_fds(prog->bu_fds);
    delete_interval_vector(prog->td_interval);
    delete_interval_vector(prog->bu_interval);
    std::free(prog);
}
