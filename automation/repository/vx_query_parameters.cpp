#include "automation/repository/vx_query_parameters.h"

#include <cstdio>
#include <string>

#include "automation/detail/text.h"
#include "automation/detail/text_fields.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

namespace {

// The trimmed text after the first ':', empty without one.
std::string value_of(const std::string& line)
{
    const size_t colon = line.find(':');
    return colon == std::string::npos ? std::string() : trimmed(line.substr(colon + 1));
}

bool query_count(const std::string& line, int* n)
{
    return whole_int(value_of(line), n) && *n >= 0;
}

// A line holding a NUL byte, which would end its text early, or a name that
// fills a text of the file's room cannot be taken as written.
bool well_formed(const std::string& line, const std::string& name)
{
    return line.find('\0') == std::string::npos &&
           name.size() < static_cast<size_t>(VxQueryParameters::TEXT_SIZE);
}

}  // namespace

VxQueryParameters::VxQueryParameters(int n)
{
    resize(n > 0 ? n : 0);
}

VxQueryParameters::VxQueryParameters(const char* file)
{
    fileRead = false;
    FILE* f = vxfopen(text_or_empty(file), "r");
    if (f == nullptr)
        return;
    std::string line;
    char* settings[4] = {repository, resultFile, resultPath, updateRule};
    const char* problem = nullptr;
    for (char* setting : settings) {
        if (!read_text_line(f, line)) {
            problem = "settings missing";
            break;
        }
        if (line.find(':') == std::string::npos || !well_formed(line, value_of(line))) {
            problem = "an ill-formed setting";
            break;
        }
        copy_cut(setting, TEXT_SIZE, value_of(line), "VxQueryParameters");
    }
    int n = 0;
    if (problem == nullptr && (!read_text_line(f, line) || !query_count(line, &n)))
        problem = "no number of queries";
    // The queries are collected first, so that a huge count in a short file
    // allocates nothing.
    std::vector<std::string> rules;
    std::vector<std::string> modeTexts;
    std::vector<char*> fields;
    while (problem == nullptr && static_cast<int>(rules.size()) < n) {
        if (!read_text_line(f, line)) {
            problem = "fewer query lines than queries";
            break;
        }
        // The mode follows the last ',': a rule file may hold commas.
        std::vector<char> text(line.begin(), line.end());
        text.push_back('\0');
        split_fields_from_right(text.data(), ',', 2, fields);
        if (*fields[0] == '\0' || !well_formed(line, fields[0])) {
            problem = "an ill-formed query line";
            break;
        }
        rules.emplace_back(fields[0]);
        modeTexts.emplace_back(fields.size() > 1 ? fields[1] : "");
    }
    std::fclose(f);
    resize(static_cast<int>(rules.size()));
    for (int q = 0; q < NumQueries(); ++q) {
        QueryFile(q, rules[q].c_str(), modeTexts[q].c_str());
        vx_report("Query[%d] %s, Mode %d\n", q, queryPointers[q], modes[q]);
    }
    if (problem != nullptr)
        vx_report("Could not read query file %s completely: %s\n", file, problem);
    fileRead = problem == nullptr;
}

void VxQueryParameters::resize(int n)
{
    queryFiles.resize(static_cast<size_t>(n), std::vector<char>(TEXT_SIZE, '\0'));
    modes.resize(static_cast<size_t>(n), 1);
    queryPointers.clear();
    for (std::vector<char>& name : queryFiles)
        queryPointers.push_back(name.data());
}

char* VxQueryParameters::QueryFile(int i)
{
    return i >= 0 && i < NumQueries() ? queryPointers[i] : nullptr;
}

int VxQueryParameters::Mode(int i) const
{
    return i >= 0 && i < NumQueries() ? modes[i] : -1;
}

void VxQueryParameters::QueryFile(int i, const char* file)
{
    if (i >= 0 && i < NumQueries())
        copy_cut(queryPointers[i], TEXT_SIZE, text_or_empty(file), "VxQueryParameters");
}

void VxQueryParameters::Mode(int i, int mode)
{
    if (i >= 0 && i < NumQueries())
        modes[i] = mode;
}

int VxQueryParameters::Mode(int i, const char* modeText)
{
    const int mode = trimmed(text_or_empty(modeText)) == "Dark" ? 2 : 1;
    Mode(i, mode);
    return mode;
}

void VxQueryParameters::QueryFile(int i, const char* file, const char* modeText)
{
    QueryFile(i, file);
    Mode(i, modeText);
}

void VxQueryParameters::Repository(const char* text)
{
    copy_cut(repository, TEXT_SIZE, text_or_empty(text), "VxQueryParameters");
}

void VxQueryParameters::ResultFile(const char* text)
{
    copy_cut(resultFile, TEXT_SIZE, text_or_empty(text), "VxQueryParameters");
}

void VxQueryParameters::ResultPath(const char* text)
{
    copy_cut(resultPath, TEXT_SIZE, text_or_empty(text), "VxQueryParameters");
}

void VxQueryParameters::UpdateRule(const char* text)
{
    copy_cut(updateRule, TEXT_SIZE, text_or_empty(text), "VxQueryParameters");
}

int VxQueryParameters::write(const char* file) const
{
    if (file == nullptr)
        return 0;
    std::string text = c_format("Repository: %s\nResultFile: %s\nResultPath: %s\nUpdateRule: %s\n",
                                repository, resultFile, resultPath, updateRule);
    text += c_format("NumQueries: %d\n", NumQueries());
    for (int q = 0; q < NumQueries(); ++q)
        text += c_format("%s, %s\n", queryFiles[q].data(), modes[q] == 2 ? "Dark" : "Bright");
    return write_text_file(file, text) ? 1 : 0;
}
