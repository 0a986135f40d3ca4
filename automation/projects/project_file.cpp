#include "automation/projects/project_file.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The keyword of each field of vx_project_fields.
const char* const keywords[] = {
    "BrightTree:", "DarkTree:",      "Resultname:",  "Imagename:",  "Brightrule:",
    "Darkrule:",   "Brightresults:", "Darkresults:", "Attributes:",
};
static_assert(std::size(keywords) == std::size(vx_project_fields));

constexpr char white_space[] = " \t\r\v\f";

// Longer lines hold no name the analysis keeps; the rest of such a line is
// read past, not kept.
constexpr std::size_t line_bound = 4 * vx_name_capacity;

bool is_white(int c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

struct file_closer {
    void operator()(FILE* f) const { std::fclose(f); }
};

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(white_space);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(white_space) - first + 1);
}

// The next line, trimmed; `cut` tells that it was longer than the bound.
// False at the end of the file.
bool next_line(FILE* in, std::string& row, bool& cut)
{
    row.clear();
    cut = false;
    int c = std::getc(in);
    if (c == EOF)
        return false;
    for (; c != EOF && c != '\n'; c = std::getc(in)) {
        if (row.empty() && is_white(c))
            continue;
        if (row.size() < line_bound)
            row += static_cast<char>(c);
        else
            cut = true;
    }
    row = trimmed(row);
    return true;
}

// The path, absolute and lexically clean, without a separator at its end;
// empty when the working folder cannot be told.
std::string clean_absolute(const fs::path& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error)
        return std::string();
    std::string text = absolute.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

// The project's folder, absolute and clean.
std::string folder_of(const std::string& project)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(project, error);
    return error ? std::string() : clean_absolute(absolute.parent_path());
}

bool readable(const std::string& name)
{
    return access(name.c_str(), R_OK) == 0;
}

// The name (absolute, or relative to the working folder) relative to the
// folder when it lies in it or below it; empty otherwise.
std::string inside(const std::string& name, const std::string& folder)
{
    const std::string absolute = name.empty() ? name : clean_absolute(name);
    const std::string prefix = folder == "/" ? folder : folder + "/";
    if (folder.empty() || absolute.size() <= prefix.size() ||
        absolute.compare(0, prefix.size(), prefix) != 0)
        return std::string();
    return absolute.substr(prefix.size());
}

// How the name is stored in a project of that folder: relative to the
// folder when it lies there, else absolute; as it is when neither would
// fit the capacity, so that every name written reads back.
std::string stored(const std::string& name, const std::string& folder)
{
    if (name.empty())
        return name;
    for (const std::string& form : {inside(name, folder), clean_absolute(name)})
        if (!form.empty() && form.size() <= vx_name_capacity)
            return form;
    return name;
}

// Where a stored relative name points for a project of that folder.
std::string located(const std::string& name, const std::string& folder)
{
    if (name.empty() || name.front() == '/' || folder.empty())
        return name;
    const std::string beside = folder + "/" + name;
    if (beside.size() > vx_name_capacity)
        return name;
    return readable(name) && !readable(beside) ? name : beside;
}

}  // namespace

bool in_project_folder(const std::string& name, const std::string& project)
{
    return !inside(name, folder_of(project)).empty();
}

std::string project_file_text(const vx_project_names& names, const std::string& file)
{
    const std::string folder = folder_of(file);
    std::string text;
    for (std::size_t k = 0; k < std::size(keywords); ++k)
        text += std::string(keywords[k]) + " " + stored(names.*vx_project_fields[k], folder) + "\n";
    return text;
}

bool read_project_file(const std::string& file, vx_project_names& names, std::string& fault)
{
    const std::unique_ptr<FILE, file_closer> in(std::fopen(file.c_str(), "rb"));
    if (!in) {
        fault = "Unable to open project file\n" + file;
        return false;
    }
    const std::string folder = folder_of(file);

    vx_project_names read;
    for (std::size_t k = 0; k < std::size(keywords); ++k) {
        std::string row;
        bool cut = false;
        while (next_line(in.get(), row, cut) && row.empty()) {}
        const std::string keyword = keywords[k];
        if (row.compare(0, keyword.size(), keyword) != 0) {
            fault = "Project file\n" + file + "\nlacks the keyword " + keyword;
            return false;
        }
        const std::string name = trimmed(row.substr(keyword.size()));
        if (cut || name.size() > vx_name_capacity) {
            fault = "Project file\n" + file + "\nholds a name of more than " +
                    std::to_string(vx_name_capacity) + " characters";
            return false;
        }
        read.*vx_project_fields[k] = located(name, folder);
    }
    names = read;
    return true;
}
