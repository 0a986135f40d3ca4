#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

// Line and field reading shared by the text files of the library.

// Reads a stream line by line into one growing buffer.
class line_reader {
public:
    explicit line_reader(FILE* f) : file_(f) {}
    ~line_reader();
    line_reader(const line_reader&) = delete;
    line_reader& operator=(const line_reader&) = delete;

    // The next line without its line break (the text up to a NUL byte it may
    // hold), writable until the next call; false at the end of the stream.
    bool next();
    char* text() { return buffer_; }

private:
    FILE* file_;
    char* buffer_ = nullptr;
    size_t capacity_ = 0;
};

// Cuts line at every sep into fields (the line is modified) and strips each
// of blanks and control characters; `fields` receives pointers into line.
void split_fields(char* line, char sep, std::vector<char*>& fields);
// The same for a line of `count` fields whose first may hold sep, as a file
// name may: the other fields are cut from the right, so that the first
// keeps every separator beyond count - 1. A line with fewer separators, or
// a count of 0, is cut at all of them.
void split_fields_from_right(char* line, char sep, size_t count, std::vector<char*>& fields);

// Whether the whole text is one number; the value is stored when it is.
bool parse_whole_int(const char* text, int& out);
bool parse_whole_double(const char* text, double& out);
