// The ".vxr" repository file: its reader (with and without the "Generation
// Mode" line) and its two writers.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "automation/detail/text.h"
#include "automation/repository/detail/repository_paths.h"
#include "automation/repository/vx_repository.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"
#include "imagecore/text/image_date.h"
#include "imagecore/text/vxstringtools.h"

namespace {

bool starts_with(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// One image line, split at commas; a tree name "-" or empty means none.
RepositoryImage image_line(const std::string& line)
{
    std::vector<char> rest(line.begin(), line.end());
    rest.push_back('\0');
    std::vector<char> field(rest.size());
    std::string names[3];
    for (std::string& name : names) {
        VxRepository::StringStrapCommaString(rest.data(), field.data(), field.size());
        name = field.data();
    }
    RepositoryImage record;
    record.image = names[0];
    record.brightDone = names[1].empty() || names[1] == "-" ? 0 : 1;
    record.darkDone = names[2].empty() || names[2] == "-" ? 0 : 1;
    record.brightTree = record.brightDone != 0 ? names[1] : "-";
    record.darkTree = record.darkDone != 0 ? names[2] : "-";
    return record;
}

struct repository_text {
    int generationMode = 0;
    std::string repositoryPath;
    std::string imagesPath;
    std::vector<RepositoryImage> images;
};

// Parses the file; returns what is wrong with it, or null.
const char* parse_repository(FILE* f, repository_text* out)
{
    std::string line;
    int count = 0;
    if (!read_text_line(f, line) || !labelled_int(line, "Number of Images:", &count) || count < 0)
        return "no image count";
    if (!read_text_line(f, line))
        return "no repository path";
    if (starts_with(line, "Gen")) {
        if (!labelled_int(line, "Generation Mode:", &out->generationMode))
            return "ill-formed generation mode";
        if (!read_text_line(f, line))
            return "no repository path";
    }
    if (!starts_with(line, "Repository Path:") || !read_text_line(f, line))
        return "no repository path";
    out->repositoryPath = directory_path(trimmed(line).c_str(), true);
    if (!read_text_line(f, line) || !starts_with(line, "Images Path:") || !read_text_line(f, line))
        return "no images path";
    out->imagesPath = directory_path(trimmed(line).c_str(), true);
    // Records are added one line at a time, so a huge count in a short
    // file allocates nothing.
    for (int i = 0; i < count; ++i) {
        if (!read_text_line(f, line))
            return "fewer image lines than images";
        out->images.push_back(image_line(line));
    }
    return nullptr;
}

}  // namespace

VxRepository::VxRepository(const char* file) : repositoryName(file != nullptr ? file : "")
{
    startClock();
    prepareTreeJobs();
    fileRead = false;
    FILE* f = vxfopen(repositoryName.c_str(), "r");
    if (f == nullptr) {
        vx_report("Could not read repository %s\n", repositoryName.c_str());
        return;
    }
    repository_text text;
    const char* problem = parse_repository(f, &text);
    std::fclose(f);
    if (problem != nullptr) {
        vx_report("Could not read repository %s: %s\n", repositoryName.c_str(), problem);
        return;
    }
    generationMode = text.generationMode;
    repositoryPath = text.repositoryPath;
    imagesPath = text.imagesPath;
    images = std::move(text.images);
    fileRead = true;
}

std::string VxRepository::repositoryText(bool withModeAndTrailer) const
{
    std::string text = "Number of Images: " + std::to_string(images.size()) + "\n";
    if (withModeAndTrailer)
        text += "Generation Mode: " + std::to_string(generationMode) + "\n";
    text += "Repository Path:\n" + repositoryPath + "\nImages Path:\n" + imagesPath + "\n";
    for (const RepositoryImage& record : images) {
        if (!withModeAndTrailer) {
            text += record.image + "," + record.brightTree + "," + record.darkTree + "\n";
            continue;
        }
        text += record.image + ",";
        text += record.brightDone != 0 ? record.brightTree + "," : "-,";
        text += record.darkDone != 0 ? record.darkTree + "," : "-";
        text += "\n";
    }
    if (withModeAndTrailer) {
        const int elapsed = static_cast<int>(image_timer()) - startTime;
        text += c_format("Computation starting at %s took %dh %dm %ds\n", startDate, elapsed / 3600,
                         elapsed / 60 % 60, elapsed % 60);
    }
    return text;
}

int VxRepository::WriteRepository(const char* file)
{
    if (file == nullptr)
        return 0;
    return write_text_file(file, repositoryText(true)) ? 1 : 0;
}

int VxRepository::write(const char* file)
{
    if (file == nullptr)
        return 0;
    vx_report("Writing Repository %s", file);
    if (!write_text_file(file, repositoryText(false)))
        return 0;
    repositoryName = file;
    return 1;
}
