// The ".vxr" repository file: its reader (with and without the "Generation
// Mode" line) and its two writers.
#include <algorithm>
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

// A tree name read from a line: "-" when empty.
std::string tree_name(const std::string& text)
{
    std::string name = trimmed(text);
    return name.empty() ? "-" : name;
}

// The older reading: the line cut at its first two commas.
void cut_at_first_commas(const std::string& line, std::string names[3])
{
    std::vector<char> rest(line.begin(), line.end());
    rest.push_back('\0');
    std::vector<char> field(rest.size());
    for (int k = 0; k < 3; ++k) {
        VxRepository::StringStrapCommaString(rest.data(), field.data(), field.size());
        names[k] = field.data();
    }
}

// A tree name is "-" or made from the stem of its image's name, so it holds
// as many commas as that stem: the image name is the first that its two tree
// names fit, which keeps names holding commas whole. False when none fits.
bool cut_at_tree_names(const std::string& line, std::string names[3])
{
    std::string text = trimmed(line);
    if (!text.empty() && text.back() == ',')
        text.pop_back();  // written after a computed dark tree
    std::vector<size_t> commas;
    for (size_t at = text.find(','); at != std::string::npos; at = text.find(',', at + 1))
        commas.push_back(at);
    const size_t lastPiece = commas.empty() ? 0 : commas.back() + 1;
    const bool darkNone = trimmed(text.substr(lastPiece)) == "-";
    const auto below = [&commas](size_t at) {
        return static_cast<size_t>(std::lower_bound(commas.begin(), commas.end(), at) -
                                   commas.begin());
    };
    size_t fileStart = 0;  // of the image name that ends at comma i
    size_t dot = std::string::npos;
    size_t scanned = 0;
    for (size_t i = 0; i + 1 < commas.size(); ++i) {
        for (; scanned < commas[i]; ++scanned) {
            const char c = text[scanned];
            if (c == '/' || c == '\\') {
                fileStart = scanned + 1;
                dot = std::string::npos;
            } else if (c == '.') {
                dot = scanned;
            }
        }
        const size_t stemEnd = dot != std::string::npos ? dot : commas[i];
        const size_t stemCommas = below(stemEnd) - below(fileStart);
        const bool brightNone =
            trimmed(text.substr(commas[i] + 1, commas[i + 1] - commas[i] - 1)) == "-";
        const size_t brightEnd = i + (brightNone ? 1 : stemCommas + 1);
        if (brightEnd >= commas.size())
            continue;
        const size_t darkCommas = commas.size() - 1 - brightEnd;
        if (darkCommas != stemCommas && !(darkCommas == 0 && darkNone))
            continue;
        names[0] = text.substr(0, commas[i]);
        names[1] = text.substr(commas[i] + 1, commas[brightEnd] - commas[i] - 1);
        names[2] = text.substr(commas[brightEnd] + 1);
        return true;
    }
    return false;
}

// One image line; a tree name "-" or empty means none.
RepositoryImage image_line(const std::string& line)
{
    std::string names[3];
    if (!cut_at_tree_names(line, names))
        cut_at_first_commas(line, names);
    RepositoryImage record;
    record.image = trimmed(names[0]);
    record.brightTree = tree_name(names[1]);
    record.darkTree = tree_name(names[2]);
    record.brightDone = record.brightTree != "-" ? 1 : 0;
    record.darkDone = record.darkTree != "-" ? 1 : 0;
    return record;
}

// The line of a record; with `done`, a tree not computed is written "-".
std::string record_line(const RepositoryImage& record, bool done)
{
    if (!done)
        return record.image + "," + record.brightTree + "," + record.darkTree;
    std::string line = record.image + ",";
    line += record.brightDone != 0 ? record.brightTree + "," : "-,";
    line += record.darkDone != 0 ? record.darkTree + "," : "-";
    return line;
}

// Whether every record comes back from its line; else a message naming the
// first that would not.
bool lines_read_back(const std::vector<RepositoryImage>& images, bool done, const char* file)
{
    for (const RepositoryImage& record : images) {
        const RepositoryImage back = image_line(record_line(record, done));
        const bool bright = !done || record.brightDone != 0;
        const bool dark = !done || record.darkDone != 0;
        if (back.image != trimmed(record.image) ||
            back.brightTree != (bright ? tree_name(record.brightTree) : "-") ||
            back.darkTree != (dark ? tree_name(record.darkTree) : "-")) {
            vx_report(
                "Could not write repository %s: the names of image %s hold ',' where its "
                "line cannot keep them apart\n",
                file, record.image.c_str());
            return false;
        }
    }
    return true;
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
    for (const RepositoryImage& record : images)
        text += record_line(record, withModeAndTrailer) + "\n";
    if (withModeAndTrailer) {
        const int elapsed = static_cast<int>(image_timer()) - startTime;
        text += c_format("Computation starting at %s took %dh %dm %ds\n", startDate, elapsed / 3600,
                         elapsed / 60 % 60, elapsed % 60);
    }
    return text;
}

int VxRepository::WriteRepository(const char* file)
{
    if (file == nullptr || !lines_read_back(images, true, file))
        return 0;
    return write_text_file(file, repositoryText(true)) ? 1 : 0;
}

int VxRepository::write(const char* file)
{
    if (file == nullptr || !lines_read_back(images, false, file))
        return 0;
    vx_report("Writing Repository %s", file);
    if (!write_text_file(file, repositoryText(false)))
        return 0;
    repositoryName = file;
    return 1;
}
