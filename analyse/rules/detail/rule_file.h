#pragma once

// Parsing a rule file into a new program, as every pass that runs a rule
// file does it.

struct program;

// Prints "Parsing File: <name> ..." and parses the file into a new program
// whose image width is `width`; prints "done" and returns the program when
// the file parses, otherwise frees it and returns null (a null name parses
// nothing). The scanner input is closed either way.
program* parse_rule_file(const char* rule_file, int width);
