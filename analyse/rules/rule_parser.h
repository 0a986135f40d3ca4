#pragma once

// The rule file parser. The scanner's input is process-wide: run openyyin,
// yyparse and closeyyin in this order, one parse at a time in the process.

#include "analyse/analyse_export.h"

struct program;

// Makes the rule file the scanner input, dropping whatever an earlier input
// left. Returns 1 when the file is open; 0 when it could not be opened (the
// parse then fails without reading anything) or the name is null (the input
// stays as it was).
ANALYSE_EXPORT int openyyin(const char* filename);

// Parses the whole input into the program (whose width the caller has set).
// 0 on success, 1 on a syntax error, on a rule fault that does not end the
// process (rule_file.h) or when there is no input, 2 when the parser stack
// is exhausted. After a failure the program is partly built and
// only fit for delete_program.
ANALYSE_EXPORT int yyparse(program* prog);

ANALYSE_EXPORT void closeyyin();

// Prints a parser message.
ANALYSE_EXPORT void yyerror(const char* message);
