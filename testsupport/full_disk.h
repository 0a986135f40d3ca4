#pragma once

// Disks that fill up and files that cannot be written, for the tests of
// writers.

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "testsupport/vx_test.h"

namespace vx_test {

// While it lives, no file of this process grows beyond `bytes`: a write
// past that fails (EFBIG) as one on a full disk does, in every writer, and
// SIGXFSZ, which would end the process, is ignored. Only the soft limit
// changes, so it is given back.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

// Runs `write` with files limited to 64 bytes; its result.
template <class Write>
int under_size_limit(Write write)
{
    const FileSizeLimit limit(64);
    return write();
}

// A real small disk: a tmpfs of 64 KiB mounted on a fresh folder, which
// fill() fills up and readOnly() makes read-only for every user. Mounting
// needs the right to (root); without it mounted() is false and the test
// skips.
class SmallDisk {
public:
    SmallDisk() { mounted_ = mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, "size=64k") == 0; }
    ~SmallDisk()
    {
        if (mounted_)
            umount2(dir_.path().c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    std::string file(const std::string& name) const { return dir_.file(name); }

    // Writes a filler file until the disk takes no more.
    void fill() const
    {
        FILE* filler = std::fopen(file(".filler").c_str(), "wb");
        if (filler == nullptr)
            return;
        const std::string block(4096, 'x');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {}
        std::fclose(filler);
    }
    bool readOnly() const
    {
        return mount("tmpfs", dir_.path().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") ==
               0;
    }

private:
    TempDir dir_;
    bool mounted_ = false;
};

// Makes an existing file read-only until the object goes: its permission
// bits for an ordinary user, a read-only bind mount onto itself for root,
// whom the bits do not stop. made() is false (why()) when neither works.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path) : path_(path)
    {
        if (::geteuid() != 0) {
            made_ = ::chmod(path.c_str(), 0444) == 0;
        } else if (::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) == 0) {
            mounted_ = true;
            made_ = ::mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                            nullptr) == 0;
        }
        if (!made_)
            why_ = "the file cannot be made read-only (" + std::string(std::strerror(errno)) + ")";
    }
    ~ReadOnlyFile()
    {
        if (mounted_)
            ::umount2(path_.c_str(), MNT_DETACH);
        else if (made_)
            ::chmod(path_.c_str(), 0644);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool made() const { return made_; }
    const std::string& why() const { return why_; }

private:
    std::string path_;
    bool made_ = false;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace vx_test
