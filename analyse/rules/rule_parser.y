/* Grammar of the rule language. The parser builds a `program`: every
   reduction appends the instructions of what it recognised, in postfix
   order, to the list that is being built (`cursor`). */

%code requires {
#include "analyse/rules/rule_parser.h"
#include "analyse/rules/rule_program.h"
}

%code provides {
ANALYSE_EXPORT int yylex(YYSTYPE* value, program* prog);
}

%code {
#include <cmath>

#include <string>

#include "analyse/detail/trunc_int.h"
#include "analyse/rules/detail/rule_failure.h"
#include "analyse/rules/rule_file.h"
#include "imagecore/fatal.h"
#include "imagecore/report.h"

#define YYINITDEPTH 200
#define YYMAXDEPTH 10000

namespace {

// The failure as a person reads it: where, then what.
void note_at_line(const std::string& message)
{
    note_rule_failure("line " + std::to_string(rule_scan_line()) + ": " + message);
}

void yyerror(program*, const char* message)
{
    ::yyerror(message);
    note_at_line(message);
}

enum rule_kind { TOP_DOWN, BOTTOM_UP };

bool list_empty(const command* head)
{
    return head == nullptr || head->next == nullptr;
}

void begin_list(program* prog)
{
    prog->cursor = init_command();
}

// A list that a new one replaces is freed unless the other rule shares it.
void replace_list(program* prog, command*& slot, const command* shared, command* list)
{
    if (slot != list && slot != shared) {
        if (prog->cursor == slot)
            prog->cursor = list;
        delete_commandlist(slot);
    }
    slot = list;
}

void begin_rule(program* prog, rule_kind kind)
{
    begin_list(prog);
    fds*& f = kind == TOP_DOWN ? prog->td_fds : prog->bu_fds;
    interval_vector*& iv = kind == TOP_DOWN ? prog->td_interval : prog->bu_interval;
    delete_fds(f);
    f = nullptr;
    delete_interval_vector(iv);
    iv = nullptr;
    if (kind == TOP_DOWN)
        prog->has_td_rule = 1;
    else
        prog->has_bu_rule = 1;
}

void end_rule(program* prog, rule_kind kind)
{
    if (kind == TOP_DOWN)
        replace_list(prog, prog->td_rule, prog->bu_rule, prog->cursor);
    else
        replace_list(prog, prog->bu_rule, prog->td_rule, prog->cursor);
}

// A rule without code of its own takes the other rule's code.
void end_rules_section(program* prog)
{
    if (prog->has_bu_rule && list_empty(prog->bu_rule) && prog->td_rule != nullptr)
        replace_list(prog, prog->bu_rule, prog->td_rule, prog->td_rule);
    if (prog->has_td_rule && list_empty(prog->td_rule) && prog->bu_rule != nullptr)
        replace_list(prog, prog->td_rule, prog->bu_rule, prog->bu_rule);
}

// The grammar lets an operand of "&&", "||", "!" or parentheses be empty; an
// empty operand counts as true, so every formula leaves one predicate.
void as_predicate(program* prog, int nonempty)
{
    if (nonempty)
        return;
    cmd_add_value(prog->cursor, 0.0);
    cmd_add_value(prog->cursor, 0.0);
    cmd_add_op(prog->cursor, OP_EQ);
}

// Indexing a scalar is a rule fault: it ends the process, or the parse.
bool require_array(const symbol* sym)
{
    if (sym->kind == SYMBOL_ARRAY)
        return true;
    if (rule_faults_fatal())
        vx_fatal(exit_code::rule_not_an_array, "Symbol %s in not an array \n", sym->name);
    vx_report("Symbol %s in not an array \n", sym->name);
    note_at_line(std::string("Symbol ") + sym->name + " in not an array");
    return false;
}

// Returns the instruction before the IF's placeholder, which the matching
// cmd_set_branch_on_false completes.
command* begin_then(program* prog)
{
    command* before = last_command(prog->cursor);
    cmd_add_branch(prog->cursor);
    return before;
}

// The end of a THEN part that an ELSE part follows: an unconditional jump
// past the ELSE part, then the target of the IF's branch. Returns the
// instruction before the jump's placeholder.
command* begin_else(program* prog, command* if_branch)
{
    as_predicate(prog, 0);
    command* before = begin_then(prog);
    cmd_set_branch_on_false(if_branch, prog->cursor);
    return before;
}

void use_fdc(program* prog, double count)
{
    int n = trunc_to_int(count);
    if (n > MAX_FOURIER_COEFFS) {
        vx_report("FDC %.0f is more than the %d coefficients a rule may use\n", std::trunc(count),
                  MAX_FOURIER_COEFFS);
        n = MAX_FOURIER_COEFFS;
    }
    vx_report("Using FDC %d\n", n);
    init_fds_symlist(prog, n);
}

void begin_intervals(interval_vector*& iv, double threshold)
{
    delete_interval_vector(iv);
    iv = init_interval_vector(threshold);
    vx_report("Threshold %f\n", threshold);
}

void begin_fds(fds*& f, double count, double threshold)
{
    delete_fds(f);
    f = nullptr;
    if (count != std::trunc(count)) {
        vx_report("Needing Integer Value of FDS\n!");
        return;
    }
    if (count > MAX_FOURIER_COEFFS) {
        vx_report("FDS %.0f is more than the %d coefficients a rule may use\n", count,
                  MAX_FOURIER_COEFFS);
        return;
    }
    f = init_fds(trunc_to_int(count), threshold);
}

void add_fds_value(fds* f, double value, const char* rule)
{
    if (f == nullptr)
        return;
    if (f->filled < f->n)
        f->values[f->filled++] = value;
    else
        vx_report("More Descriptors as indicated in %s FDS\n", rule);
}

}  // namespace
}

%define api.pure full
%define parse.error verbose
%parse-param {program* prog}
%lex-param {program* prog}

%union {
    double number;
    int index;
    symbol* sym;
    command* cmd;
    int nonempty;
}

%token END 0 "$end"
%token <number> CONST
%token <index> ATTRIB GLOBAL_ATTRIB
%token <sym> IDENT NEWIDENT
%token ARRAY USE_FDC
%token FDS_START FDS_END NN_INTERVAL_VECTOR_START NN_INTERVAL_VECTOR_END
%token BURULE TDRULE DECLSOP DECLSCL RULESOP RULESCL
%token BEGINFOR IN ENDFOR IF THEN ELSE FI
%token REGION IMAGEVALUE
%token ARITHOP_POW ARITHOP_SQRT ARITHOP_SIN ARITHOP_COS ARITHOP_TAN
%token ARITHOP_ASIN ARITHOP_ACOS ARITHOP_ATAN ARITHOP_LOG ARITHOP_SONS
%token ASSIGN PAROP PARCL ACCOP ACCCL DELIM PARAMDELIM
%token RELOP_EQ RELOP_LT RELOP_GT RELOP_LE RELOP_GE
%token ATTRIB_SON ATTRIB_FATHER ARITHOP LOGICOP RELOP SWITCH POSITION NEG

%left LOGICOP_OR
%left LOGICOP_AND
%precedence LOGICOP_NOT
%left ARITHOP_ADD ARITHOP_SUB
%left ARITHOP_MUL ARITHOP_DIV ARITHOP_MOD

%type <number> number
%type <nonempty> rule
%type <cmd> if_head

%start input

%%

input:
    %empty
  | input program
  ;

program:
    DECLSOP { begin_list(prog); } decls DECLSCL
        { replace_list(prog, prog->decls, nullptr, prog->cursor); }
  | RULESOP rules RULESCL { end_rules_section(prog); }
  ;

decls:
    %empty
  | decl DELIM decls { prog->has_decls = 1; }
  ;

decl:
    %empty
  | assign
  | loop
  | condition
  ;

condition:
    if_head FI { cmd_set_branch_on_false($1, prog->cursor); }
  | if_head ELSE { $<cmd>$ = begin_else(prog, $1); } decls FI
        { cmd_set_branch_on_true($<cmd>3, prog->cursor); }
  ;

if_head:
    IF formula { $<cmd>$ = begin_then(prog); } THEN decls { $$ = $<cmd>3; }
  ;

loop:
    BEGINFOR NEWIDENT IN IDENT { set_symbol_code_position(prog->cursor, $2); } decls ENDFOR
        { cmd_add_symbol(prog->cursor, $4); cmd_add_loop(prog->cursor, $2); }
  | BEGINFOR NEWIDENT IN ATTRIB { set_symbol_code_position(prog->cursor, $2); } decls ENDFOR
        { cmd_add_attrib(prog->cursor, $4); cmd_add_loop(prog->cursor, $2); }
  | BEGINFOR NEWIDENT IN GLOBAL_ATTRIB { set_symbol_code_position(prog->cursor, $2); } decls ENDFOR
        { cmd_add_global_attrib(prog->cursor, $4); cmd_add_loop(prog->cursor, $2); }
  ;

assign:
    USE_FDC ASSIGN CONST { use_fdc(prog, $3); }
  | NEWIDENT ASSIGN exp { cmd_add_store(prog->cursor, $1); }
  | NEWIDENT ASSIGN ARRAY exp { cmd_add_init_array(prog->cursor, $1); }
  | IDENT ASSIGN exp { cmd_add_store(prog->cursor, $1); }
  | IDENT ACCOP exp ACCCL ASSIGN exp
        { if (!require_array($1)) YYABORT; cmd_add_store_array(prog->cursor, $1); }
  ;

rules:
    TDRULE tdrule buexist
  | BURULE buinit
  | %empty { prog->has_bu_rule = 0; }
  ;

buexist:
    BURULE buinit
  | %empty { prog->has_bu_rule = 0; }
  ;

buinit:
    { begin_rule(prog, BOTTOM_UP); } rule nniv_bu fds_bu { end_rule(prog, BOTTOM_UP); }
  ;

tdrule:
    { begin_rule(prog, TOP_DOWN); } rule nniv_td fds_td { end_rule(prog, TOP_DOWN); }
  ;

fds_td:
    FDS_START CONST CONST { begin_fds(prog->td_fds, $2, $3); } fds_td_values FDS_END
  | %empty
  ;

fds_td_values:
    CONST { add_fds_value(prog->td_fds, $1, "TD"); }
  | fds_td_values CONST { add_fds_value(prog->td_fds, $2, "TD"); }
  ;

fds_bu:
    FDS_START CONST CONST { begin_fds(prog->bu_fds, $2, $3); } fds_bu_values FDS_END
  | %empty
  ;

fds_bu_values:
    CONST { add_fds_value(prog->bu_fds, $1, "BU"); }
  | fds_bu_values CONST { add_fds_value(prog->bu_fds, $2, "BU"); }
  ;

nniv_td:
    NN_INTERVAL_VECTOR_START CONST { begin_intervals(prog->td_interval, $2); }
        nniv_values_td NN_INTERVAL_VECTOR_END
  | %empty
  ;

nniv_values_td:
    ATTRIB PAROP number PARAMDELIM number PARAMDELIM number PARCL DELIM
        { add_intervall_attribute(prog->td_interval, $1, $3, $5, $7); } nniv_values_td
  | IDENT PAROP number PARAMDELIM number PARAMDELIM number PARCL DELIM
        { add_intervall_symbol(prog->td_interval, $1, $3, $5, $7); } nniv_values_td
  | NEWIDENT { vx_report("Undefined Symbol %s\n", $1->name); }
  | %empty
  ;

nniv_bu:
    NN_INTERVAL_VECTOR_START CONST { begin_intervals(prog->bu_interval, $2); }
        nniv_values_bu NN_INTERVAL_VECTOR_END
  | %empty
  ;

nniv_values_bu:
    ATTRIB PAROP number PARAMDELIM number PARAMDELIM number PARCL DELIM
        { add_intervall_attribute(prog->bu_interval, $1, $3, $5, $7); } nniv_values_bu
  | IDENT PAROP number PARAMDELIM number PARAMDELIM number PARCL DELIM
        { add_intervall_symbol(prog->bu_interval, $1, $3, $5, $7); } nniv_values_bu
  | NEWIDENT { vx_report("Undefined Symbol %s\n", $1->name); }
  | %empty
  ;

number:
    CONST { $$ = $1; }
  | ARITHOP_SUB CONST { $$ = -$2; }
  ;

formula:
    LOGICOP_NOT rule { as_predicate(prog, $2); cmd_add_op(prog->cursor, OP_NOT); }
  | rule LOGICOP_AND rule
        { as_predicate(prog, $1); as_predicate(prog, $3); cmd_add_op(prog->cursor, OP_AND); }
  | rule LOGICOP_OR rule
        { as_predicate(prog, $1); as_predicate(prog, $3); cmd_add_op(prog->cursor, OP_OR); }
  | pred
  | PAROP rule PARCL { as_predicate(prog, $2); }
  ;

rule:
    formula { $$ = 1; }
  | %empty { $$ = 0; }
  ;

pred:
    exp RELOP_LT exp { cmd_add_op(prog->cursor, OP_LT); }
  | exp RELOP_GT exp { cmd_add_op(prog->cursor, OP_GT); }
  | exp RELOP_GE exp { cmd_add_op(prog->cursor, OP_GE); }
  | exp RELOP_LE exp { cmd_add_op(prog->cursor, OP_LE); }
  | exp RELOP_EQ exp { cmd_add_op(prog->cursor, OP_EQ); }
  ;

exp:
    CONST { cmd_add_value(prog->cursor, $1); }
  | ARITHOP_SUB CONST { cmd_add_value(prog->cursor, -$2); }
  | ATTRIB { cmd_add_attrib(prog->cursor, $1); }
  | GLOBAL_ATTRIB { cmd_add_global_attrib(prog->cursor, $1); }
  | IDENT { cmd_add_symbol(prog->cursor, $1); }
  | IDENT ACCOP exp ACCCL { if (!require_array($1)) YYABORT; cmd_add_read_array(prog->cursor, $1); }
  | exp ARITHOP_ADD exp { cmd_add_op(prog->cursor, OP_ADD); }
  | exp ARITHOP_SUB exp { cmd_add_op(prog->cursor, OP_SUB); }
  | exp ARITHOP_MUL exp { cmd_add_op(prog->cursor, OP_MUL); }
  | exp ARITHOP_DIV exp { cmd_add_op(prog->cursor, OP_DIV); }
  | exp ARITHOP_MOD exp { cmd_add_op(prog->cursor, OP_MOD); }
  | ARITHOP_POW PAROP exp PARAMDELIM exp PARCL { cmd_add_op(prog->cursor, OP_POW); }
  | ARITHOP_SIN PAROP exp PARCL { cmd_add_op(prog->cursor, OP_SIN); }
  | ARITHOP_COS PAROP exp PARCL { cmd_add_op(prog->cursor, OP_COS); }
  | ARITHOP_TAN PAROP exp PARCL { cmd_add_op(prog->cursor, OP_TAN); }
  | ARITHOP_ASIN PAROP exp PARCL { cmd_add_op(prog->cursor, OP_ASIN); }
  | ARITHOP_ACOS PAROP exp PARCL { cmd_add_op(prog->cursor, OP_ACOS); }
  | ARITHOP_ATAN PAROP exp PARCL { cmd_add_op(prog->cursor, OP_ATAN); }
  | ARITHOP_SQRT PAROP exp PARCL { cmd_add_op(prog->cursor, OP_SQRT); }
  | ARITHOP_LOG PAROP exp PARCL { cmd_add_op(prog->cursor, OP_LOG); }
  | ARITHOP_SONS PAROP exp PARCL { cmd_add_op(prog->cursor, OP_SONS); }
  | REGION PAROP exp PARCL { cmd_add_get_element_position(prog->cursor); }
  | IMAGEVALUE PAROP exp PARCL { cmd_add_get_element_intensity(prog->cursor); }
  | PAROP exp PARCL
  ;

%%

void yyerror(const char* message)
{
    vx_report("Parser Statement: %s\n", message);
}
