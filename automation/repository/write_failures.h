#pragma once

#include <string>
#include <unordered_set>

// The files a run of a repository could not write (result images, label
// images, summaries, tables), so that the run can say so once at its end:
// how many, and which failed first.
class WriteFailures {
public:
    // Notes that the file could not be written; a file counts once.
    void add(const std::string& file)
    {
        ++noted_;
        if (files_.insert(file).second && files_.size() == 1)
            first_ = file;
    }
    bool empty() const { return files_.empty(); }
    // Files that could not be written.
    int count() const { return static_cast<int>(files_.size()); }
    // The first of them; "" while there is none.
    const std::string& first() const { return first_; }
    // Failures noted so far, a file as often as it failed: a write failed
    // when this grew during it.
    long noted() const { return noted_; }

private:
    std::unordered_set<std::string> files_;
    std::string first_;
    long noted_ = 0;
};
