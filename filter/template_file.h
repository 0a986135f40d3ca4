#pragma once

#include <cstdio>

#include "filter/filter_export.h"
#include "filter/templates.h"

// Template text files: one template row per line; a token is a run of
// decimal digits (its value) or a '.' (a cell outside the template, -1); any
// other character separates tokens.

// Reads a square template of odd size into a new filter with op 0, no mask,
// quantile 0; the caller sets op and iterations. Null after a message when
// the file cannot be opened or is no such template.
FILTER_EXPORT f_filter* init_filter(const char* path);

// Tokens on the first line.
FILTER_EXPORT int get_f_width(FILE* f);
// Lines up to the last one that holds a token.
FILTER_EXPORT int get_f_height(FILE* f);
// Reads f's width * height tokens into its values (allocated by the caller)
// and returns how many were read; -1 for a number too large for a weight.
FILTER_EXPORT int load_f_template(FILE* file, f_filter* f);
