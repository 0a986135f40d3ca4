#pragma once

// The fuzzer's bytes in a temporary file, for the readers that take a file
// name; the file goes with the object.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

class fuzz_file {
public:
    fuzz_file(const uint8_t* data, size_t size)
    {
        char pattern[] = "/tmp/vx_fuzz.XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0)
            return;
        path_ = pattern;
        written_ = ::write(fd, data, size) == static_cast<ssize_t>(size);
        close(fd);
    }
    ~fuzz_file()
    {
        if (!path_.empty())
            std::remove(path_.c_str());
    }
    fuzz_file(const fuzz_file&) = delete;
    fuzz_file& operator=(const fuzz_file&) = delete;

    // Whether the file holds every byte.
    bool written() const { return written_; }
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
    bool written_ = false;
};
