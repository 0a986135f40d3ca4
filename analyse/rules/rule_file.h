#pragma once

// Parsing a rule file into a new program, as every pass that runs a rule
// file does it, and how rule faults end.

#include "analyse/analyse_export.h"

struct program;

// Prints "Parsing File: <name> ..." and parses the file into a new program
// whose image width is `width`; prints "done" and returns the program when
// the file parses, otherwise frees it and returns null (a null name parses
// nothing). The scanner input is closed either way.
ANALYSE_EXPORT program* parse_rule_file(const char* rule_file, int width);

// Rule faults are the conditions a rule meets that the language has no
// value for: indexing a scalar (found by the parser), a machine stack that
// overflows or runs empty, a value left on the stack, a change of the
// number of Fourier coefficients ("numfdc"). Each prints its message and, by
// default, ends the process with its exit code, as the batch programs
// expect.
//
// An interactive program calls set_rule_faults_fatal(false) once at its
// start. A fault then prints the same message and fails instead: the parse
// fails (parse_rule_file returns null); the machine stops (vm `failed` is
// set, run_vm returns 0); and the pass that ran the rule leaves its tree as
// a failed parse does and returns the same failure: va_update_region_tree,
// dynamic_region_tree_update and init_single_node_attributes return 0 with
// no region changed, computeNodeFromLabeledRegion returns null, and
// file_based_query_analysis returns 0 with no region a hit
// (query_analysis: with the marks it started from). The setting holds for
// every thread.
ANALYSE_EXPORT void set_rule_faults_fatal(bool fatal);
ANALYSE_EXPORT bool rule_faults_fatal();

// Why the last parse or rule run on the calling thread failed, for a person
// to read: "line <n>: <parser message>" for a rule file that does not parse
// (a syntax error, or a rule fault the parser finds), the fault's message
// for one the machine meets, and that the file does not open; empty when it
// did not fail. A parse (openyyin, parse_rule_file) and a new machine
// (init_vm) start a new record, so after a pass (a query, an attribute
// update) it tells about that pass. The text stays valid until the next
// parse or machine on the thread.
ANALYSE_EXPORT const char* last_rule_failure();
