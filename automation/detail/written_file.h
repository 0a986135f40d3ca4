#pragma once

// A file written piece by piece that is either complete or gone. Not part
// of the library's interface.

#include <cstdio>
#include <string>

#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"

class written_file {
public:
    // Opens the file with vxfopen, which reports a failure.
    written_file(const std::string& path, const char* mode)
        : path_(path), file_(vxfopen(path.c_str(), mode))
    {}
    ~written_file()
    {
        if (file_ != nullptr)
            close();
    }
    written_file(const written_file&) = delete;
    written_file& operator=(const written_file&) = delete;

    bool is_open() const { return file_ != nullptr; }
    void write(const void* data, size_t size)
    {
        written_ = written_ && std::fwrite(data, 1, size, file_) == size;
    }
    void write(const std::string& text) { write(text.data(), text.size()); }
    // True when everything is in the file; an incomplete file is removed
    // after a message.
    bool close()
    {
        FILE* f = file_;
        file_ = nullptr;
        return f != nullptr && vx_close_written(f, written_, path_.c_str()) == 0;
    }

private:
    std::string path_;
    FILE* file_;
    bool written_ = true;
};
