#pragma once

#include <vector>

#include "automation/automation_export.h"

// The settings of a query run, stored as a ".query" text file:
//
//   Repository: <repository file>
//   ResultFile: <summary file>
//   ResultPath: <directory of the result images>
//   UpdateRule: <update-rule file>
//   NumQueries: <n>
//   <rule file>, Dark|Bright        (one line per query)
//
// Texts live in buffers of 1024 bytes; a longer text is cut to 1023
// characters with a message.
class AUTOMATION_EXPORT VxQueryParameters {
public:
    static constexpr int TEXT_SIZE = 1024;

    // n empty query files, every mode 1 (bright).
    explicit VxQueryParameters(int n);
    // Reads a ".query" file. The first four lines give Repository,
    // ResultFile, ResultPath and UpdateRule in this order whatever their
    // keys say: the value is the trimmed text after the line's first ':'
    // (it may hold ':' itself). The fifth line gives the number of queries;
    // each query line is cut at its last comma into the trimmed rule file
    // (which may hold commas) and the mode, 2 when the trimmed text after
    // that comma is "Dark", else 1 (also without a comma). Prints
    // "Query[%d] %s, Mode %d\n" per query. A file that cannot be read, ends
    // early or holds an ill-formed line gives the queries read so far, after
    // a message; see isRead().
    explicit VxQueryParameters(const char* file);
    VxQueryParameters(const VxQueryParameters&) = delete;
    VxQueryParameters& operator=(const VxQueryParameters&) = delete;

    // Null / -1 for an index outside 0 .. n-1.
    char* QueryFile(int i);
    int Mode(int i) const;
    // The n query files and modes, for the query run.
    char** QueryFiles() { return queryPointers.data(); }
    int* Modes() { return modes.data(); }
    int NumQueries() const { return static_cast<int>(modes.size()); }
    // Whether the reading constructor read its file whole and every line of
    // it was well-formed: text without NUL bytes; four settings with a ':'
    // and values of up to 1023 characters; a count of 0 or more; that many
    // query lines, each starting with a rule file of 1 to 1023 characters.
    // True for an object made with a number of queries.
    bool isRead() const { return fileRead; }
    char* Repository() { return repository; }
    char* ResultFile() { return resultFile; }
    char* ResultPath() { return resultPath; }
    char* UpdateRule() { return updateRule; }

    // The setters store only for an index in range.
    void QueryFile(int i, const char* file);
    void Mode(int i, int mode);
    // 2 for "Dark" (blanks around it ignored), else 1; returns that mode.
    int Mode(int i, const char* modeText);
    void QueryFile(int i, const char* file, const char* modeText);
    void Repository(const char* text);
    void ResultFile(const char* text);
    void ResultPath(const char* text);
    void UpdateRule(const char* text);

    // Writes the ".query" file ("Dark" for mode 2, else "Bright"). Returns 1,
    // or 0 after a message when it could not be written; an older file stays
    // whole until the new one is complete.
    int write(const char* file) const;

private:
    using text = char[TEXT_SIZE];

    void resize(int n);

    std::vector<std::vector<char>> queryFiles;
    std::vector<char*> queryPointers;
    std::vector<int> modes;
    text repository = {};
    text resultFile = {};
    text resultPath = {};
    text updateRule = {};
    bool fileRead = true;
};
