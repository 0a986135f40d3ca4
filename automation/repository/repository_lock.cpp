#include "automation/repository/repository_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "imagecore/report.h"

namespace {

// The file name of the program a process runs, as QLockFile names it; empty
// when the system does not tell.
std::string program_of(long pid)
{
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    char target[4096];
    const ssize_t n = readlink(link.c_str(), target, sizeof target);
    if (n <= 0)
        return {};
    std::string name(target, static_cast<size_t>(n));
    const std::string deleted = " (deleted)";
    if (name.size() > deleted.size() &&
        name.compare(name.size() - deleted.size(), deleted.size(), deleted) == 0)
        name.resize(name.size() - deleted.size());
    return name.substr(name.rfind('/') + 1);
}

std::string host_name()
{
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

struct lock_owner {
    long pid = 0;  // 0 when the first line holds none
    std::string program;
    std::string host;
};

lock_owner owner_of(const std::string& path)
{
    lock_owner owner;
    std::ifstream in(path);
    std::string line;
    if (std::getline(in, line))
        owner.pid = std::strtol(line.c_str(), nullptr, 10);
    std::getline(in, owner.program);
    std::getline(in, owner.host);
    return owner;
}

bool stale(const lock_owner& owner)
{
    if (owner.pid <= 0)
        return true;
    if (!owner.host.empty() && owner.host != host_name())
        return false;
    if (kill(static_cast<pid_t>(owner.pid), 0) == -1 && errno == ESRCH)
        return true;
    const std::string running = program_of(owner.pid);
    return !owner.program.empty() && !running.empty() && running != owner.program;
}

// Removes a stale lock file unless its maker holds its flock (it is still
// writing its lines) or it has been replaced meanwhile by a new lock.
void remove_stale(const std::string& path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat opened {};
    struct stat named {};
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &opened) == 0 &&
        stat(path.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
        opened.st_dev == named.st_dev)
        unlink(path.c_str());
    close(fd);
}

}  // namespace

repository_lock::repository_lock(const std::string& repositoryFile) : path(repositoryFile + ".lock")
{
    lock_owner owner;
    int error = 0;
    for (int attempt = 0;; ++attempt) {
        descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        error = descriptor < 0 ? errno : 0;
        if (error != EEXIST)
            break;
        owner = owner_of(path);
        if (attempt == 1 || !stale(owner))
            break;
        remove_stale(path);
    }
    if (error == EEXIST && owner.pid > 0) {
        holderId = owner.pid;
        vx_report("Could not lock %s: process %ld (%s) holds it\n", repositoryFile.c_str(),
                  holderId, owner.program.c_str());
        return;
    }
    if (descriptor < 0) {
        vx_report("Could not lock %s: %s\n", repositoryFile.c_str(),
                  error == EEXIST ? "another process holds it" : std::strerror(error));
        return;
    }
    flock(descriptor, LOCK_EX | LOCK_NB);
    const std::string lines =
        std::to_string(getpid()) + "\n" + program_of(getpid()) + "\n" + host_name() + "\n";
    errno = ENOSPC;  // what a short write means
    if (write(descriptor, lines.data(), lines.size()) != static_cast<ssize_t>(lines.size())) {
        vx_report("Could not lock %s: %s\n", repositoryFile.c_str(), std::strerror(errno));
        unlink(path.c_str());
        close(descriptor);
        descriptor = -1;
    }
}

repository_lock::~repository_lock()
{
    if (descriptor < 0)
        return;
    unlink(path.c_str());
    close(descriptor);
}
