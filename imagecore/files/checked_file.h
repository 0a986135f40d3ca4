#pragma once

// A file written in whole pieces, every write and the close checked, so that
// a write that fails (a full disk, a folder or file that cannot be written)
// never leaves a damaged file and always tells its caller.
//
// Mode "w" or "wb" replaces the file: everything goes to a new temporary
// file beside the target, under a short name of its own (so a target name
// of any legal length will do), which is renamed over the target only when
// every write and the close have succeeded, with the target's permissions.
// Until then, and whenever anything fails, the target stays as it was: an
// older file whole, or no file. A target that exists but may not be written
// (a read-only file) is refused before anything is written. A target that
// is a symbolic link stays one: the file it points to (through any chain of
// links) is the one replaced, or made when it does not exist yet. A target
// that is neither a plain file nor a folder (a device such as /dev/null, a
// pipe) is written in place.
//
// Mode "a" or "ab" appends in place; when a write fails the file is cut back
// to what it held before, so that no half-written row stays behind.
//
// Files are opened through vxfopen, which warns when one cannot be; a
// failure then prints "Could not write file <path>: <reason>" once.

#include <cstddef>
#include <cstdio>
#include <string>

#include "imagecore/vximage_export.h"

class VXIMAGE_EXPORT checked_file {
public:
    checked_file(const char* path, const char* mode);
    // A file that was not closed is given up: the target stays as it was.
    ~checked_file();
    checked_file(const checked_file&) = delete;
    checked_file& operator=(const checked_file&) = delete;

    bool is_open() const { return file_ != nullptr; }
    FILE* stream() const { return file_; }
    // Writes the bytes unless an earlier write failed; false once one failed.
    bool write(const void* data, size_t size);
    bool write(const std::string& text) { return write(text.data(), text.size()); }
    // Takes in the result of a write made through stream(), right after it;
    // false once one failed.
    bool record(bool written);
    // Hands what is buffered to the system, so that a full disk shows now;
    // false once a write failed.
    bool flush();
    // Closes the file and, when replacing, renames it into place; false when
    // it was never opened or any write, the close or the rename failed.
    bool close();
    // Gives the file up; the target stays as it was.
    void discard();

    // The errno value of the first failure, 0 while there is none.
    int error() const { return error_; }
    // Its text in the C locale ("No space left on device"), empty while
    // there is none.
    std::string reason() const;
    // The text of an errno value, as reason() gives it.
    static std::string reason_of(int error);

private:
    // Keeps the first failure and reports it.
    void fail(int error);

    std::string path_;       // as given, for the messages
    std::string target_;     // the file replaced: path_ with its links followed
    std::string temporary_;  // empty when appending or writing in place
    FILE* file_ = nullptr;
    long start_ = -1;  // size of an appended file when it was opened, -1 unknown
    int error_ = 0;
};
