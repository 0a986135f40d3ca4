#include "automation/repository/image_stems.h"

#include <algorithm>
#include <map>

#include "automation/repository/detail/repository_paths.h"

std::vector<int> images_of_same_stem(const std::vector<std::string>& images)
{
    std::map<std::string, std::vector<int>> by_stem;
    for (size_t i = 0; i < images.size(); ++i)
        by_stem[dot_stem(images[i])].push_back(static_cast<int>(i));
    std::vector<int> other(images.size(), -1);
    for (const auto& [stem, group] : by_stem) {
        const std::string& first = images[group.front()];
        const auto another =
            std::find_if(group.begin(), group.end(), [&](int j) { return images[j] != first; });
        if (another == group.end())
            continue;
        for (int i : group)
            other[i] = images[i] != first ? group.front() : *another;
    }
    return other;
}
