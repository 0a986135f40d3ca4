#include "analyse/tables/detail/checked_file.h"

#include <unistd.h>
#include <cstring>

#include "imagecore/files/vxfileio.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

checked_file::checked_file(const char* path, const char* mode)
    : path_(path != nullptr ? path : ""),
      file_(path != nullptr ? vxfopen(path, mode) : nullptr),
      appending_(std::strchr(mode, 'a') != nullptr),
      start_(-1),
      ok_(file_ != nullptr)
{
    if (appending_ && file_ != nullptr && std::fseek(file_, 0, SEEK_END) == 0)
        start_ = std::ftell(file_);
}

checked_file::~checked_file()
{
    close();
}

bool checked_file::write(const std::string& text)
{
    return record(ok_ && write_text(file_, text));
}

bool checked_file::record(bool written)
{
    ok_ = ok_ && written;
    return ok_;
}

bool checked_file::close()
{
    if (file_ == nullptr)
        return false;
    FILE* f = file_;
    file_ = nullptr;
    if (!appending_)
        return vx_close_written(f, ok_, path_.c_str()) == 0;
    ok_ = std::ferror(f) == 0 && ok_;
    ok_ = std::fclose(f) == 0 && ok_;
    if (!ok_) {
        vx_report("Could not write file %s\n", path_.c_str());
        if (start_ >= 0 && truncate(path_.c_str(), start_) != 0)
            vx_report("Could not restore file %s\n", path_.c_str());
    }
    return ok_;
}

bool write_text(FILE* file, const std::string& text)
{
    return file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
}
