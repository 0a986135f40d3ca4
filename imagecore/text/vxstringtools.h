#pragma once

#include <cstddef>
#include <cstdio>

#include "imagecore/vximage_export.h"

// File-name and separated-value text utilities. Strings are NUL-terminated
// byte strings; both '/' and '\\' separate path components. Every function
// that writes into a caller's buffer takes the buffer's capacity in bytes
// (terminating NUL included); a result that does not fit is cut to
// capacity - 1 characters and a message says so.

// Longest field, in characters, that StringStrapSepInt and
// StringStrapSepDouble convert.
inline constexpr int VX_MAX_NUMBER_FIELD = 99;

// --- file names (a null path leaves `out` unchanged) ---

// The part after the last separator: the whole path when it has none, empty
// when it ends with one.
VXIMAGE_EXPORT void truncateFileName(const char* path, char* out, size_t capacity);
// The path up to and including its last separator; "./" when it has none.
VXIMAGE_EXPORT void truncatePathName(const char* path, char* out, size_t capacity);
// The file-name part without its last extension (the text from its last '.'
// on); a name without '.' stays whole.
VXIMAGE_EXPORT void getDotStem(const char* path, char* out, size_t capacity);

// --- separated values ---

// Removes leading and trailing blanks and control characters in place and
// returns the new length. Printable ASCII and bytes >= 128 (UTF-8 names) stay.
VXIMAGE_EXPORT int stripLeadingWhitespacesString(char* s);

// Take the first field of s (the text before the first sep, or all of it),
// remove it and the separator from s and strip what is left, so that the next
// call reads the next field. A field longer than VX_MAX_NUMBER_FIELD
// characters prints a message and gives 0.
VXIMAGE_EXPORT int StringStrapSepInt(char* s, char sep);
VXIMAGE_EXPORT double StringStrapSepDouble(char* s, char sep);
// The same for a text field, copied stripped into `field`.
VXIMAGE_EXPORT void StringStrapSepString(char* s, char* field, size_t capacity, char sep);

// Splits s into n = 1 + (number of sep) ints; *out becomes a new array of
// n + 10 ints that the caller frees. Returns n; 0 (and *out null) for a null
// or empty s.
VXIMAGE_EXPORT int toIntArray(const char* s, int** out, char sep);
// Splits s into *n new stripped strings (each as large as the longest field);
// the caller frees each string and the array. Null and *n = 0 for a null or
// empty s.
VXIMAGE_EXPORT char** toStringArray(const char* s, char sep, int* n);

// The text after the first sep (empty when there is none).
VXIMAGE_EXPORT void getSepSuffix(const char* s, char* out, size_t capacity, char sep);
// The text before the last sep at an index >= 1 (empty when there is none).
VXIMAGE_EXPORT void getSepPrefix(const char* s, char* out, size_t capacity, char sep);

// Reads characters up to sep or the end of the file; sep is consumed, not
// stored. Characters beyond the capacity are read and dropped. Returns the
// number stored.
VXIMAGE_EXPORT int readSepLineFromFile(FILE* f, char* out, size_t capacity, char sep);
// Counts the sep characters of the file and the longest field (the runs
// before the first and after the last sep included). Returns the count, or
// -1 when the file cannot be opened.
VXIMAGE_EXPORT int scanSepFile(const char* path, char sep, int* longest, int* count);

// --- plain strings ---

// Position of the first occurrence of sub in s, -1 when there is none.
VXIMAGE_EXPORT int findSubString(const char* s, const char* sub);
// Index of the first of the n strings equal to s, -1 when there is none.
VXIMAGE_EXPORT int inStringArray(const char* s, char** array, int n);
// Upper-cases the ASCII letters of s in place; returns s.
VXIMAGE_EXPORT char* vxstrupr(char* s);
// Inserts prefix in front of s in place; s holds `capacity` bytes.
VXIMAGE_EXPORT void prepend(const char* prefix, char* s, size_t capacity);
// Number of digits of |value| in the base (1 for 0); -1 for a base below 2.
VXIMAGE_EXPORT int getDigits(int value, int base);
// value in decimal with leading zeros to at least `width` digits.
VXIMAGE_EXPORT void leadingDecimalZeros(char* out, size_t capacity, int value, int width);
