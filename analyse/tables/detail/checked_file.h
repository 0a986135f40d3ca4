#pragma once

// A text file written in whole pieces, every write and the close checked.
// A file created by the writer is removed when writing fails; a file that
// was appended to is cut back to what it held before (rows of earlier
// calls), so that no half-written row stays behind.

#include <cstdio>
#include <string>

class checked_file {
public:
    // Opens through vxfopen with mode "w" or "a"; a failure is reported there.
    checked_file(const char* path, const char* mode);
    ~checked_file();
    checked_file(const checked_file&) = delete;
    checked_file& operator=(const checked_file&) = delete;

    bool is_open() const { return file_ != nullptr; }
    FILE* stream() const { return file_; }
    // Writes the text unless an earlier write failed; false once one failed.
    bool write(const std::string& text);
    // Takes in the result of a write made through stream(); false once one
    // failed.
    bool record(bool written);
    // Closes the file; false (after a message) when it was never opened or any
    // write or the close failed.
    bool close();

private:
    std::string path_;
    FILE* file_;
    bool appending_;
    long start_;  // size of an appended file when it was opened, -1 unknown
    bool ok_;
};

// Writes the text to an open stream; false when not all of it was written.
bool write_text(FILE* file, const std::string& text);
