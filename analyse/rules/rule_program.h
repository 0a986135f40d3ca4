#pragma once

// A parsed rule file: its symbol table, its three instruction lists
// (declarations, top-down rule, bottom-up rule) and the interval and Fourier
// descriptor conditions of the two rules, with the operations the parser
// uses to build it.

#include "analyse/analyse_export.h"

struct command;

inline constexpr int SYMBOL_NAME_MAX = 51;

enum : int { SYMBOL_UNDEFINED = -1, SYMBOL_SCALAR = 0, SYMBOL_ARRAY = 1 };

// One rule variable. The list starts with a head named "dummy" that is never
// a variable.
struct symbol {
    char name[SYMBOL_NAME_MAX + 1];
    int kind;             // SYMBOL_UNDEFINED, SYMBOL_SCALAR or SYMBOL_ARRAY
    double value;         // scalar value, element count of an array, loop counter
    double* elements;     // array elements, null otherwise
    int nelements;        // elements allocated; `value` may since have changed
    command* loop_start;  // a loop body begins after this instruction
    symbol* next;
};

// Instruction types.
enum : int {
    NOP = -2,
    UNDEF = -1,
    HOLD = 0,
    OP = 1,
    VALUE = 2,
    ATTRIBUTE = 3,
    SYMBOL = 4,
    STORE_VALUE = 5,
    ATTRIBUTE_FATHER = 6,
    GLOBAL_ATTRIBUTE = 7,
    GET_IMAGE_INTENSITY = 8,
    GET_ELEMENT_POSITION = 9,
    LOOP = 10,
    INIT_ARRAY = 11,
    STORE_ARRAY_VALUE = 12,
    READ_ARRAY_VALUE = 13,
    BRANCH_ON_TRUE = 14,
    BRANCH_ON_FALSE = 15,
};

// Operator codes of OP instructions.
enum : int {
    OP_NOT = 3,
    OP_AND = 4,
    OP_OR = 5,
    OP_LT = 6,
    OP_GT = 7,
    OP_GE = 8,
    OP_LE = 9,
    OP_ADD = 10,
    OP_SUB = 11,
    OP_MUL = 12,
    OP_DIV = 13,
    OP_MOD = 14,
    OP_POW = 15,
    OP_SONS = 16,
    OP_EQ = 17,
    OP_SIN = 18,
    OP_COS = 19,
    OP_TAN = 20,
    OP_ASIN = 21,
    OP_ACOS = 22,
    OP_ATAN = 23,
    OP_SQRT = 24,
    OP_LOG = 25,
};

union command_operand {
    double value;     // VALUE
    int index;        // OP code, ATTRIBUTE and GLOBAL_ATTRIBUTE index
    symbol* sym;      // symbol instructions and LOOP
    command* target;  // branches: the NOP to continue after
};

struct command {
    int type;
    command_operand operand;
    command* next;
};

// An "NNIV:" block: a region passes when the summed distances of the listed
// values from their intervals stay within the threshold.
struct interval_entry {
    double low;
    double high;
    double weight;
    int attribute;  // base attribute index, -1 for a symbol
    symbol* sym;    // null for a base attribute
};

struct interval_vector {
    int capacity;
    int count;
    double threshold;
    interval_entry* entries;
};

// An "FDs:" block: a region passes when its contour's Fourier descriptor lies
// within the threshold (Euclidean distance) of the listed values.
struct fds {
    int n;
    int filled;
    double* values;
    double* work;
    double threshold;
};

// Largest count of Fourier descriptor coefficients a rule may ask for;
// bounds the memory and time one region's descriptor takes.
inline constexpr int MAX_FOURIER_COEFFS = 1024;

struct program {
    int width;  // image width, set by the caller before parsing
    int has_td_rule;
    int has_bu_rule;
    int has_decls;
    int num_fdc;      // Fourier descriptor coefficients ("FDC")
    symbol* symbols;  // list head "dummy"
    symbol* symbols_tail;
    command* decls;
    command* td_rule;
    command* bu_rule;
    command* cursor;  // head of the list being built
    fds* td_fds;
    fds* bu_fds;
    interval_vector* td_interval;
    interval_vector* bu_interval;
};

ANALYSE_EXPORT program* init_program();
ANALYSE_EXPORT void delete_program(program* prog);

// Symbols.
ANALYSE_EXPORT symbol* init_symbol();
ANALYSE_EXPORT void delete_symbols(symbol* first);
ANALYSE_EXPORT void init_symlist(program* prog);
ANALYSE_EXPORT int get_symbol_num(const program* prog);
ANALYSE_EXPORT symbol* get_symbol(const program* prog, const char* name);
// Appends `sym` unless a symbol of its name exists; returns that existing
// symbol, or null when `sym` was appended.
ANALYSE_EXPORT symbol* put_symbol(program* prog, symbol* sym);
// A new symbol of that name, appended; null when the name exists already.
ANALYSE_EXPORT symbol* put_symbol_id(program* prog, const char* name);

// Instructions. Every cmd_add_ appends one instruction to the list headed by
// `head` and returns it, in constant time: a head (the UNDEF instruction of
// init_command) keeps the list's last instruction in its operand.
ANALYSE_EXPORT command* init_command();
ANALYSE_EXPORT void delete_vm_command(command* cmd);
ANALYSE_EXPORT void delete_commandlist(command* head);
ANALYSE_EXPORT command* cmd_add_value(command* head, double value);
ANALYSE_EXPORT command* cmd_add_op(command* head, int op);
ANALYSE_EXPORT command* cmd_add_attrib(command* head, int index);
ANALYSE_EXPORT command* cmd_add_global_attrib(command* head, int index);
ANALYSE_EXPORT command* cmd_add_attrib_father(command* head, int index);
ANALYSE_EXPORT command* cmd_add_symbol(command* head, symbol* sym);
ANALYSE_EXPORT command* cmd_add_store(command* head, symbol* sym);
ANALYSE_EXPORT command* cmd_add_init_array(command* head, symbol* sym);
ANALYSE_EXPORT command* cmd_add_store_array(command* head, symbol* sym);
ANALYSE_EXPORT command* cmd_add_read_array(command* head, symbol* sym);
ANALYSE_EXPORT command* cmd_add_loop(command* head, symbol* sym);
ANALYSE_EXPORT command* cmd_add_get_element_position(command* head);
ANALYSE_EXPORT command* cmd_add_get_element_intensity(command* head);
// Appends an UNDEF placeholder that cmd_set_branch_on_* later completes.
ANALYSE_EXPORT command* cmd_add_branch(command* head);
// Turns the placeholder that follows `before` into a branch whose target is a
// new NOP appended at the end of the list.
ANALYSE_EXPORT void cmd_set_branch_on_false(command* before, command* head);
ANALYSE_EXPORT void cmd_set_branch_on_true(command* before, command* head);
// The symbol's loop body begins after the list's current last instruction.
ANALYSE_EXPORT void set_symbol_code_position(command* head, symbol* sym);
ANALYSE_EXPORT command* last_command(command* head);

// Interval conditions.
ANALYSE_EXPORT interval_vector* init_interval_vector(double threshold);
ANALYSE_EXPORT void add_intervall_attribute(interval_vector* iv, int attribute, double low,
                                            double high, double weight);
ANALYSE_EXPORT void add_intervall_symbol(interval_vector* iv, symbol* sym, double low, double high,
                                         double weight);
ANALYSE_EXPORT void delete_interval_vector(interval_vector* iv);
ANALYSE_EXPORT void print_interval_vector(const interval_vector* iv);

// Fourier descriptor conditions.
ANALYSE_EXPORT fds* init_fds(int n, double threshold);
ANALYSE_EXPORT void delete_fds(fds* f);
ANALYSE_EXPORT void print_fds(const fds* f);
// Stores the coefficient count and adds "numfdc" (value n) and "fdc_0" ..
// "fdc_<n-1>" to the symbol list.
ANALYSE_EXPORT void init_fds_symlist(program* prog, int n);

// Diagnostics.
ANALYSE_EXPORT void print_program(const program* prog);
ANALYSE_EXPORT void print_code(const command* head);
ANALYSE_EXPORT void show_program_decls(const program* prog);
