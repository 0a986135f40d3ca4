#include "automation/compare/compare_results.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "automation/compare/compare_data_array.h"
#include "automation/detail/text.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

namespace {

struct file_closer {
    void operator()(FILE* f) const { std::fclose(f); }
};

// "id, values" with every run of blanks made one blank.
CompareDataArray entry_of(const std::string& line)
{
    std::string collapsed;
    for (char c : line) {
        const bool blank = c == ' ' || c == '\t' || c == '\r';
        if (!blank || collapsed.empty() || collapsed.back() != ' ')
            collapsed += blank ? ' ' : c;
    }
    const size_t comma = collapsed.find(',');
    const std::string id = trimmed(collapsed.substr(0, comma));
    const std::string values = comma == std::string::npos ? "" : collapsed.substr(comma + 1);
    return CompareDataArray(values.c_str(), id.c_str());
}

// The first n entries of the file; false when it cannot be opened.
bool read_entries(const char* path, int n, std::vector<CompareDataArray>& entries)
{
    std::unique_ptr<FILE, file_closer> f(vxfopen(text_or_empty(path), "r"));
    if (f == nullptr)
        return false;
    std::string line;
    while (static_cast<int>(entries.size()) < n && read_text_line(f.get(), line))
        entries.push_back(entry_of(line));
    return true;
}

// Both files' entries, as many as both hold up to n.
bool read_pairs(const char* a, const char* b, int n, std::vector<CompareDataArray>& first,
                std::vector<CompareDataArray>& second)
{
    if (!read_entries(a, n, first) || !read_entries(b, n, second))
        return false;
    const size_t common = std::min(first.size(), second.size());
    if (common < static_cast<size_t>(std::max(n, 0)))
        vx_report("Only %zu of %d entries in %s and %s\n", common, n, a, b);
    first.erase(first.begin() + static_cast<long>(common), first.end());
    second.erase(second.begin() + static_cast<long>(common), second.end());
    return true;
}

}  // namespace

int CompareResults(const char* reference, const char* test, const char* out, int n)
{
    std::vector<CompareDataArray> refs, tests;
    if (!read_pairs(reference, test, n, refs, tests))
        return 0;
    std::string text =
        "ImageIndex, Similar in Both, #Missing from Reference ,#In Reference, #Missing from "
        "Testdata, #In TestData\n";
    int totals[5] = {0, 0, 0, 0, 0};
    for (size_t k = 0; k < refs.size(); ++k) {
        int similar, missingRef, missingTest, refCount, testCount;
        refs[k].CompareWithTestDataArray(tests[k], &similar, &missingRef, &missingTest, &refCount,
                                         &testCount);
        text += c_format("%s,%d, %d, %d, %d, %d\n", refs[k].getEntryID(), similar, missingRef,
                         refCount, missingTest, testCount);
        const int row[5] = {similar, missingRef, refCount, missingTest, testCount};
        for (int c = 0; c < 5; ++c)
            totals[c] += row[c];
    }
    text +=
        c_format(" , %d, %d, %d, %d, %d\n", totals[0], totals[1], totals[2], totals[3], totals[4]);
    return write_text_file(text_or_empty(out), text) ? 1 : 0;
}

int MergeResults(const char* a, const char* b, const char* out, int n)
{
    std::vector<CompareDataArray> first, second;
    if (!read_pairs(a, b, n, first, second))
        return 0;
    std::string text;
    for (size_t k = 0; k < first.size(); ++k) {
        first[k].UnionMergeArray(second[k].getPCArray());
        text += c_format("%s,%s\n", first[k].getEntryID(), first[k].getPCArray());
    }
    return write_text_file(text_or_empty(out), text) ? 1 : 0;
}
