// The ".vxq" file of a labeled repository, which is also the summary file
// of a query run.
#include <cstdio>
#include <string>
#include <vector>

#include "automation/detail/text.h"
#include "automation/repository/vx_labeled_repository.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"
#include "imagecore/text/image_date.h"

namespace {

std::vector<std::string> comma_fields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        fields.push_back(trimmed(line.substr(start, comma - start)));
        if (comma == std::string::npos)
            return fields;
        start = comma + 1;
    }
}

struct class_line {
    std::string name;
    int mode = 1;
};

// "<name>, Mode <mode>"; a line without ',' is all name and keeps mode 1.
class_line parse_class_line(const std::string& line)
{
    class_line c;
    const size_t comma = line.find(',');
    c.name = trimmed(line.substr(0, comma));
    int mode = 0;
    if (comma != std::string::npos && labelled_int(trimmed(line.substr(comma + 1)), "Mode", &mode))
        c.mode = mode;
    return c;
}

// The record name and, for every class from 1 on, its ids: the class
// number (not used), the count and that many ids. A line that ends early
// leaves the remaining classes empty.
bool parse_image_line(const std::string& line, int classes, std::string* name,
                      std::vector<std::vector<int>>* ids)
{
    const std::vector<std::string> fields = comma_fields(line);
    *name = fields[0];
    ids->assign(static_cast<size_t>(classes), std::vector<int>());
    size_t at = 1;
    for (int k = 1; k < classes; ++k) {
        if (at >= fields.size() || (at + 1 == fields.size() && fields[at].empty()))
            return true;
        int number = 0;
        int count = 0;
        if (at + 1 >= fields.size() || !whole_int(fields[at], &number) ||
            !whole_int(fields[at + 1], &count) || count < 0 ||
            static_cast<size_t>(count) > fields.size() - at - 2)
            return false;
        at += 2;
        std::vector<int>& list = (*ids)[k];
        list.resize(static_cast<size_t>(count));
        for (int& id : list)
            if (!whole_int(fields[at++], &id))
                return false;
    }
    return true;
}

// Why a labelling of n classes (class 0 included) cannot be stored, or "".
std::string too_many_classes(int n)
{
    if (n <= VxLabeledRepository::MOST_CLASSES + 1)
        return std::string();
    return c_format("%d classes, but a labelling holds class 0 and at most %d more", n,
                    VxLabeledRepository::MOST_CLASSES);
}

}  // namespace

int VxLabeledRepository::read(const char* file)
{
    fileName = text_or_empty(file);
    FILE* f = vxfopen(fileName.c_str(), "r");
    if (f == nullptr) {
        vx_report("Could not read labeled repository %s\n", fileName.c_str());
        return 0;
    }
    std::string header[4];
    std::string line;
    int n = 0;
    const char* problem = nullptr;
    for (std::string& text : header)
        if (problem == nullptr && !read_text_line(f, text))
            problem = "header incomplete";
    if (problem == nullptr &&
        (!read_text_line(f, line) || !labelled_int(line, "NumberOfClasses:", &n)))
        problem = "no number of classes";
    const std::string tooMany = too_many_classes(n);
    if (problem == nullptr && !tooMany.empty())
        problem = tooMany.c_str();
    // Class lines are collected first, so that a huge count in a short file
    // allocates nothing.
    std::vector<class_line> classes;
    while (problem == nullptr && n >= 2 && static_cast<int>(classes.size()) < n) {
        if (!read_text_line(f, line))
            problem = "fewer class lines than classes";
        else
            classes.push_back(parse_class_line(line));
    }
    int images = 0;
    if (problem == nullptr && n >= 2 &&
        (!read_text_line(f, line) || !labelled_int(line, "Images:", &images)))
        problem = "no number of images";
    std::vector<std::string> imageLines;
    while (problem == nullptr && n >= 2 && read_text_line(f, line))
        imageLines.push_back(line);
    std::fclose(f);
    if (problem != nullptr) {
        vx_report("Could not read labeled repository %s: %s\n", fileName.c_str(), problem);
        return 0;
    }
    if (n < 2) {
        vx_report("At Least 2 Classes Required. Class 0 default: <Irrelevant>\n");
        return 0;
    }

    init(n, nullptr, trimmed(header[3]).c_str(), trimmed(header[1]).c_str());
    for (int k = 0; k < n; ++k) {
        setClassName(classes[k].name.c_str(), k);
        setMode(k, classes[k].mode);
    }
    std::string name;
    std::vector<std::vector<int>> ids;
    for (size_t l = 0; l < imageLines.size(); ++l) {
        const int image = static_cast<int>(l);
        if (image >= getNumberOfImages()) {
            vx_report("Labeled repository %s: more image lines than the %d images of %s\n",
                      fileName.c_str(), getNumberOfImages(), RepositoryName());
            return 0;
        }
        if (!parse_image_line(imageLines[l], n, &name, &ids)) {
            vx_report("Labeled repository %s: image line %d is ill-formed\n", fileName.c_str(),
                      image + 1);
            return 0;
        }
        for (int k = 1; k < n; ++k)
            setImage(image, static_cast<int>(ids[k].size()), ids[k].data(), k, name.c_str());
    }
    return 1;
}

int VxLabeledRepository::write(const char* file)
{
    if (file == nullptr)
        return 0;
    const std::string tooMany = too_many_classes(numberOfClasses);
    if (!tooMany.empty()) {
        vx_report("Could not write labeled repository %s: %s\n", file, tooMany.c_str());
        return 0;
    }
    char date[48] = {};
    image_date(date);
    std::string text = c_format("Classification from %s for Repository\n%s\nImages at\n%s\n", date,
                                RepositoryName(), resultPath.c_str());
    text += c_format("NumberOfClasses: %d\n", numberOfClasses);
    for (int k = 0; k < numberOfClasses; ++k)
        text += c_format("%s, Mode %d\n", classNames[k].c_str(), modes[k]);
    text += c_format("Images: %d\n", getNumberOfImages());
    for (const LabeledImage& record : records) {
        text += record.name + ", ";
        for (int k = 1; k < numberOfClasses; ++k) {
            text += c_format("%d, %d, ", k, static_cast<int>(record.ids[k].size()));
            for (int id : record.ids[k])
                text += c_format("%d, ", id);
        }
        text += "\n";
    }
    return write_text_file(file, text) ? 1 : 0;
}
