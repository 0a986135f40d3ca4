#include "imagecore/files/checked_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"
#include "imagecore/text/c_locale.h"

namespace {

// errno of a call that failed, never 0.
int last_error()
{
    return errno != 0 ? errno : EIO;
}

}  // namespace

checked_file::checked_file(const char* path, const char* mode) : path_(path != nullptr ? path : "")
{
    if (path == nullptr || mode == nullptr) {
        fail(EINVAL);
        return;
    }
    if (std::strchr(mode, 'a') != nullptr) {
        file_ = vxfopen(path, mode);
        if (file_ == nullptr)
            fail(last_error());
        else if (std::fseek(file_, 0, SEEK_END) == 0)
            start_ = std::ftell(file_);
        return;
    }
    // The rename would replace a file that may not be written.
    struct stat target {};
    const bool exists = ::stat(path, &target) == 0;
    if (exists && ::access(path, W_OK) != 0) {
        fail(last_error());
        return;
    }
    static std::atomic<unsigned> serial{0};
    temporary_ = path_ + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(serial++);
    // "x": a temporary name that exists already is never written through.
    file_ = vxfopen(temporary_.c_str(), (std::string(mode) + "x").c_str());
    if (file_ == nullptr) {
        fail(last_error());
        return;
    }
    if (exists)
        ::fchmod(::fileno(file_), target.st_mode & 07777);
}

checked_file::~checked_file()
{
    discard();
}

bool checked_file::write(const void* data, size_t size)
{
    return record(file_ != nullptr && std::fwrite(data, 1, size, file_) == size);
}

bool checked_file::record(bool written)
{
    if (!written)
        fail(last_error());
    return error_ == 0;
}

bool checked_file::flush()
{
    return record(file_ != nullptr && std::fflush(file_) == 0);
}

bool checked_file::close()
{
    if (file_ == nullptr)
        return false;
    FILE* f = file_;
    file_ = nullptr;
    if (std::fflush(f) != 0)
        fail(last_error());
    if (std::ferror(f) != 0)
        fail(EIO);
    if (std::fclose(f) != 0)
        fail(last_error());
    if (temporary_.empty()) {
        if (error_ != 0 && start_ >= 0 && ::truncate(path_.c_str(), start_) != 0)
            vx_report("Could not restore file %s\n", path_.c_str());
    } else if (error_ == 0 && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        fail(last_error());
    }
    if (error_ == 0)
        return true;
    if (!temporary_.empty())
        std::remove(temporary_.c_str());
    return false;
}

void checked_file::discard()
{
    if (file_ == nullptr)
        return;
    std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty())
        std::remove(temporary_.c_str());
    else if (start_ >= 0 && ::truncate(path_.c_str(), start_) != 0)
        vx_report("Could not restore file %s\n", path_.c_str());
}

std::string checked_file::reason() const
{
    return error_ != 0 ? reason_of(error_) : std::string();
}

std::string checked_file::reason_of(int error)
{
    // In the C locale, as every other text of the system.
    return ::strerror_l(error, vx_c_locale());
}

void checked_file::fail(int error)
{
    if (error_ != 0)
        return;
    error_ = error;
    vx_report("Could not write file %s: %s\n", path_.c_str(), reason().c_str());
}
