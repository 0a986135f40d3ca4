#pragma once

// The lock of a repository file while a computation writes it, so that a
// second computation into the same file cannot replace the first one's list:
// the file "<repository file>.lock", made only when there is none and
// flock()ed while held, holding the process id, the program name and the
// host name, one line each. That is the form QLockFile gives its lock files,
// so the program's dialogs and batch programs keep out of each other's way.
// A lock whose process has ended, or whose id now runs another program, is
// stale and taken over; a lock made on another host is left alone.

#include <string>

#include "automation/automation_export.h"

class AUTOMATION_EXPORT repository_lock {
public:
    // Tries once, without waiting. A lock not taken is reported: "Could not
    // lock %s: process %ld (%s) holds it\n" with the repository file, the
    // holder's id and program, or "Could not lock %s: %s\n" with the
    // system's reason when the lock file cannot be made (or "another
    // process holds it" when its lines tell no process).
    explicit repository_lock(const std::string& repositoryFile);
    // Removes the lock file when held.
    ~repository_lock();
    repository_lock(const repository_lock&) = delete;
    repository_lock& operator=(const repository_lock&) = delete;

    bool held() const { return descriptor >= 0; }
    // The id of the process that holds the lock when it was not taken; 0
    // when it was taken, or when the lock file could not be made or tells
    // no process.
    long holder() const { return holderId; }

private:
    std::string path;
    int descriptor = -1;
    long holderId = 0;
};
