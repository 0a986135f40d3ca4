#pragma once

// Text pieces shared by the automation classes. Not part of the library's
// interface.

#include <cstddef>
#include <cstdio>
#include <string>

// The text, or "" for null.
inline const char* text_or_empty(const char* text)
{
    return text != nullptr ? text : "";
}

// printf into a new string, numbers in the C locale whatever the process
// has set.
std::string c_format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The text without leading and trailing blanks and control characters
// (stripLeadingWhitespacesString).
std::string trimmed(std::string text);

// Whether the text, without blanks around it, is a decimal int; stores it.
bool whole_int(const std::string& text, int* value);
// Whether the line starts with the label and the rest is a decimal int.
bool labelled_int(const std::string& line, const char* label, int* value);

// Copies the text into a fixed buffer of `capacity` bytes; a text that does
// not fit is cut to capacity - 1 characters and `who` reports it.
void copy_cut(char* out, size_t capacity, const std::string& text, const char* who);

// Reads one line, without its '\n', however long it is. False at the end of
// the file when nothing was read.
bool read_text_line(FILE* f, std::string& line);

// Writes the whole text through checked_file (imagecore/files/checked_file.h):
// a failed write leaves no partial file behind and an older file whole. True
// when the file is in place; false after a message.
bool write_text_file(const std::string& path, const std::string& text);
