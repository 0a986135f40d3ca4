#include "automation/sofm/som_file_head.h"

#include <cstdio>
#include <memory>

#include "automation/detail/text_fields.h"

namespace {

struct file_closer {
    void operator()(FILE* f) const { std::fclose(f); }
};

// Longer lines are no head of a map the trainer wrote.
constexpr std::size_t line_bound = (1 << 20) - 1;

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The next line without its line end (and the carriage returns before it);
// false at the end of the file or for a line longer than the bound.
bool next_line(FILE* in, std::string& line)
{
    line.clear();
    int c = std::getc(in);
    if (c == EOF)
        return false;
    for (; c != EOF && c != '\n'; c = std::getc(in)) {
        if (line.size() == line_bound)
            return false;
        line += static_cast<char>(c);
    }
    while (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

// "Generated at <date> <time> from": two words of no blanks, one blank
// apart.
bool generated_line(const std::string& line, som_file_head& head)
{
    static const std::string before = "Generated at ";
    static const std::string after = " from";
    if (line.size() < before.size() + after.size() || line.compare(0, before.size(), before) != 0 ||
        line.compare(line.size() - after.size(), after.size(), after) != 0)
        return false;
    const std::string words =
        line.substr(before.size(), line.size() - before.size() - after.size());
    const std::size_t gap = words.find(' ');
    if (gap == 0 || gap == std::string::npos || gap + 1 == words.size())
        return false;
    head.date = words.substr(0, gap);
    head.time = words.substr(gap + 1);
    for (const std::string* word : {&head.date, &head.time})
        for (char c : *word)
            if (is_blank(c))
                return false;
    return true;
}

}  // namespace

bool read_som_file_head(const char* name, som_file_head& head, std::string& why)
{
    const std::unique_ptr<FILE, file_closer> in(name != nullptr ? std::fopen(name, "rb") : nullptr);
    if (!in) {
        why = "The file does not open.";
        return false;
    }
    std::string line;
    // 1. "Generated at <date> <time> from".
    if (!next_line(in.get(), line) || !generated_line(line, head)) {
        why = "Its first line is not \"Generated at <date> <time> from\".";
        return false;
    }

    // 2. The table.
    if (!next_line(in.get(), head.table)) {
        why = "It names no table.";
        return false;
    }

    // 3. The column count and the columns.
    if (!next_line(in.get(), line) || line != "ColumnSelection" || !next_line(in.get(), line)) {
        why = "It holds no column selection.";
        return false;
    }
    std::vector<char*> fields;
    split_fields(line.data(), ',', fields);
    const int listed = static_cast<int>(fields.size()) - 1;
    int count = 0;
    if (!parse_whole_int(fields[0], count) || count < 0 || count > listed) {
        why = "Its column count does not fit the " + std::to_string(listed) + " columns listed.";
        return false;
    }
    head.columns.assign(static_cast<std::size_t>(count), 0);
    for (int k = 0; k < count; ++k) {
        int column = 0;
        if (!parse_whole_int(fields[static_cast<std::size_t>(k) + 1], column) || column < 0) {
            why = "Its column " + std::to_string(k + 1) + " is no column number.";
            return false;
        }
        head.columns[static_cast<std::size_t>(k)] = static_cast<unsigned>(column);
    }
    return true;
}
