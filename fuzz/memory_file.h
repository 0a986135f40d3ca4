#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Fuzzer input as a file in memory, for readers that take a file name.
class memory_file {
public:
    memory_file(const uint8_t* data, size_t size) : fd_(memfd_create("fuzz_input", 0))
    {
        if (fd_ >= 0 && (size == 0 || write(fd_, data, size) == static_cast<ssize_t>(size)))
            path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~memory_file()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    memory_file(const memory_file&) = delete;
    memory_file& operator=(const memory_file&) = delete;

    // Empty when the file could not be made.
    const std::string& path() const { return path_; }

private:
    int fd_;
    std::string path_;
};
