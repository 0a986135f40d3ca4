#include "automation/repository/detail/repository_paths.h"

#include <cstdio>
#include <vector>

#include "imagecore/report.h"
#include "imagecore/text/vxstringtools.h"

std::string directory_path(const char* path, bool announce)
{
    if (path == nullptr || *path == '\0')
        return "./";
    std::string directory = path;
    if (directory.back() != '/' && directory.back() != '\\') {
        directory += '/';
        if (announce)
            vx_report("Path %s\n", directory.c_str());
    }
    return directory;
}

std::string file_part(const std::string& name)
{
    std::vector<char> part(name.size() + 1);
    truncateFileName(name.c_str(), part.data(), part.size());
    return part.data();
}

std::string dot_stem(const std::string& name)
{
    std::vector<char> stem(name.size() + 1);
    getDotStem(name.c_str(), stem.data(), stem.size());
    return stem.data();
}

std::string tree_file_name(const std::string& image, int scales, int polarity, int mode)
{
    if (mode != 0 && mode != 3)
        vx_report("Generation mode %d: the tree names do not describe the mode\n", mode);
    const bool plain = polarity == 1 ? (mode & 1) != 0 : (mode & 2) != 0;
    return dot_stem(image) + "." + std::to_string(scales) + (polarity == 1 ? ".bright" : ".dark") +
           (plain ? ".tree" : ".nr.tree");
}

bool fileExists(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    std::fclose(f);
    return true;
}
