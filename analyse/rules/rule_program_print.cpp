// Diagnostic listings of a rule program's code.
#include <cstdio>

#include "analyse/detail/c_locale_print.h"
#include "analyse/rules/rule_program.h"

void print_code(const command* head)
{
    for (const command* c = head; c != nullptr; c = c->next) {
        switch (c->type) {
        case OP: std::printf("VM_OP: %d\n", c->operand.index); break;
        case VALUE: c_printf("Fetched Value %f\n", c->operand.value); break;
        case ATTRIBUTE: std::printf("Fetch Attribut[%d]'s Value\n", c->operand.index); break;
        case SYMBOL: std::printf("Fetched Value from Symbol %s\n", c->operand.sym->name); break;
        case STORE_VALUE: std::printf("STORE_VALUE: %s \n", c->operand.sym->name); break;
        default: break;
        }
    }
}

void print_program(const program* prog)
{
    if (prog->has_decls) {
        std::printf("Decls Section\n");
        print_code(prog->decls);
    }
    if (prog->has_td_rule) {
        std::printf("Top Down rule\n");
        print_code(prog->td_rule);
    }
    if (prog->has_bu_rule) {
        std::printf("Bottom up rule\n");
        print_code(prog->bu_rule);
    }
}

namespace {

void show_command(const command* c)
{
    const symbol* sym = c->operand.sym;
    const void* target = c->operand.target;
    switch (c->type) {
    case NOP: std::printf("NOP, "); break;
    case UNDEF: std::printf("UNDEF WARNING, "); break;
    case HOLD: std::printf("HOLD, "); break;
    case OP: std::printf("OP, %d", c->operand.index); break;
    case VALUE: c_printf("VALUE, %f", c->operand.value); break;
    case ATTRIBUTE: std::printf("ATTRIBUTE, %d,", c->operand.index); break;
    case SYMBOL: std::printf("SYMBOL, %s, Type %d,", sym->name, sym->kind); break;
    case STORE_VALUE: std::printf("STORE_VALUE in %s,", sym->name); break;
    case ATTRIBUTE_FATHER: std::printf("ATTRIBUTE_FATHER, "); break;
    case GLOBAL_ATTRIBUTE: std::printf("GLOBAL_ATTRIBUTE %d,", c->operand.index); break;
    case GET_IMAGE_INTENSITY: std::printf("GET_IMAGE_INTENSITY, "); break;
    case GET_ELEMENT_POSITION: std::printf("GET_ELEMENT_POSITION, "); break;
    case LOOP:
        std::printf("LOOP, Count %s, goto %p,", sym->name,
                    static_cast<const void*>(sym->loop_start));
        break;
    case INIT_ARRAY: std::printf("INIT_ARRAY, name %s,", sym->name); break;
    case STORE_ARRAY_VALUE: std::printf("STORE_ARRAY_VALUE, name %s,", sym->name); break;
    case READ_ARRAY_VALUE: std::printf("READ_ARRAY_VALUE, name %s,", sym->name); break;
    case BRANCH_ON_TRUE: std::printf("BRANCH_ON_TRUE, to %p,", target); break;
    case BRANCH_ON_FALSE: std::printf("BRANCH_ON_FALSE, to %p,", target); break;
    default: break;
    }
}

}  // namespace

void show_program_decls(const program* prog)
{
    std::printf("\nProgramm Code Declarations part\n");
    for (const command* c = prog->decls; c != nullptr; c = c->next) {
        std::printf("%p: Type: %d, ", static_cast<const void*>(c), c->type);
        show_command(c);
        std::printf(" Next %p\n", static_cast<const void*>(c->next));
    }
}
