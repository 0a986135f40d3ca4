#pragma once

#include <cstdio>

// printf and fprintf that always format numbers in the C locale, whatever
// locale the process has set: "%f" writes a point, never a comma.
int c_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
int c_fprintf(FILE* out, const char* format, ...) __attribute__((format(printf, 2, 3)));
