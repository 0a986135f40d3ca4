#pragma once

#include "automation/automation_export.h"

// Files of id lists, one entry a line: the entry id, a comma and the ids
// separated by blanks ("null" for none); runs of blanks count as one. Both
// read n lines of each file, or as many as the shorter file holds (with a
// message). Each returns 1, or 0 after a message when a file cannot be read
// or the output not written (no partial output file is left behind).

// Per entry the ids of the test list against the reference list:
// "ImageIndex, Similar in Both, #Missing from Reference ,#In Reference,
// #Missing from Testdata, #In TestData\n", a line "%s,%d, %d, %d, %d, %d\n"
// per entry (the reference's id, similar, reference size - similar,
// reference size, test size - similar, test size) and the totals
// " , %d, %d, %d, %d, %d\n".
AUTOMATION_EXPORT int CompareResults(const char* reference, const char* test, const char* out,
                                     int n);
// "%s,%s\n" per entry: a's id and the union of both lists as "%d " per id.
AUTOMATION_EXPORT int MergeResults(const char* a, const char* b, const char* out, int n);
