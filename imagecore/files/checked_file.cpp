#include "imagecore/files/checked_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"
#include "imagecore/text/c_locale.h"

namespace {

// errno of a call that failed, never 0.
int last_error()
{
    return errno != 0 ? errno : EIO;
}

// Links followed before a chain of them counts as a loop, as the system's
// own limit.
constexpr int kMaxLinks = 40;

// The file that writing `path` replaces: a symbolic link is followed to the
// file it names, which need not exist yet, as a write through the link
// would. Empty, with *error set, for a link that cannot be read or a chain
// that does not end.
std::string linked_file(const std::string& path, int* error)
{
    namespace fs = std::filesystem;
    fs::path file = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        std::error_code failure;
        if (!fs::is_symlink(fs::symlink_status(file, failure)))
            return file.string();
        const fs::path next = fs::read_symlink(file, failure);
        if (failure) {
            *error = failure.value();
            return "";
        }
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    *error = ELOOP;
    return "";
}

// Creates a temporary file in the folder of `file` under a short name that
// no file has (mode with "x"): the name of the file itself may already be
// as long as a name can be.
FILE* open_temporary(const std::string& file, const std::string& mode, std::string* name)
{
    namespace fs = std::filesystem;
    static std::atomic<unsigned> serial{0};
    const fs::path folder = fs::path(file).parent_path();
    const std::string stem = ".vx" + std::to_string(::getpid()) + "-";
    // A name is taken only when nothing has it; one left over by an earlier
    // process of the same number is passed over.
    for (int tries = 0; tries < 100; ++tries) {
        *name = (folder / (stem + std::to_string(serial++))).string();
        std::error_code failure;
        if (fs::exists(fs::symlink_status(*name, failure)))
            continue;
        FILE* f = vxfopen(name->c_str(), mode.c_str());
        if (f != nullptr || errno != EEXIST)
            return f;
    }
    errno = EEXIST;
    return nullptr;
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
    int error = ENOENT;  // for an empty path
    target_ = linked_file(path_, &error);
    if (target_.empty()) {
        fail(error);
        return;
    }
    // The rename would replace a file that may not be written.
    struct stat target {};
    const bool exists = ::stat(target_.c_str(), &target) == 0;
    if (exists && ::access(target_.c_str(), W_OK) != 0) {
        fail(last_error());
        return;
    }
    // A device or a pipe holds no older file to keep, and a rename would
    // put a plain file in its place. (A rename onto a folder fails.)
    if (exists && !S_ISREG(target.st_mode) && !S_ISDIR(target.st_mode)) {
        file_ = vxfopen(target_.c_str(), mode);
        if (file_ == nullptr)
            fail(last_error());
        return;
    }
    // "x": a temporary name that exists already is never written through.
    file_ = open_temporary(target_, std::string(mode) + "x", &temporary_);
    if (file_ == nullptr) {
        temporary_.clear();
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
    } else if (error_ == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
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
