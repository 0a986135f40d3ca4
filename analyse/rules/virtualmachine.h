#pragma once

// The stack machine that runs a parsed rule program on one region at a time.

#include "analyse/analyse_export.h"
#include "analyse/rules/rule_program.h"
#include "analyse/trees/region_types.h"

struct image;

// Each stack has this many slots and holds at most one entry fewer.
inline constexpr int VM_STACK_SLOTS = 100;

struct vm {
    int td_mode;
    int bu_mode;
    double values[VM_STACK_SLOTS];
    int nvalues;
    int preds[VM_STACK_SLOTS];
    int npreds;
    command* current;
    struct program* program;  // attached by the caller, not owned
    double attributes[NUM_BASE_ATTRIBUTES];
    tregionnode* region;
    double width;
    double height;
    double scales;
    image* grey;
    // Set by a rule fault that did not end the process (rule_file.h); the
    // machine then runs nothing until reset_vm.
    int failed;
};

// A zeroed machine reading "image" values from `grey` (not owned); ends the
// process (code 42) for a null image.
ANALYSE_EXPORT vm* init_vm(image* grey, int scales);
ANALYSE_EXPORT vm* init_vm_old_deprecated();
// Clears both modes, both stacks, the attribute registers and `failed`.
ANALYSE_EXPORT void reset_vm(vm* m);
ANALYSE_EXPORT void delete_vm(vm* m);

ANALYSE_EXPORT void set_vm_td_mode(vm* m);
ANALYSE_EXPORT void set_vm_bu_mode(vm* m);
// Loads the region's base attributes into the registers and makes it the
// current region.
ANALYSE_EXPORT void set_vm_data(vm* m, tregionnode* region);
ANALYSE_EXPORT void vm_set_attribute_register(vm* m, int index, double value);

// 1 when the current region passes the rule of the current mode, else 0
// (also once the machine has failed).
ANALYSE_EXPORT int run_vm(vm* m);
// Executes from the current instruction to the end of its list, or until a
// rule fault stops the machine.
ANALYSE_EXPORT void run_rule(vm* m);

// Stack access. Overflow and underflow are rule faults (code 42): when they
// do not end the process, a push is dropped, a pop or peek yields 0 and a
// push or pop stops the machine.
ANALYSE_EXPORT void push_vm_value(vm* m, double value);
ANALYSE_EXPORT double pop_value(vm* m);
ANALYSE_EXPORT double peek_vm_value(const vm* m);
ANALYSE_EXPORT void push_pred(vm* m, int pred);
ANALYSE_EXPORT int pop_pred(vm* m);
ANALYSE_EXPORT int peek_vm_pred(const vm* m);
