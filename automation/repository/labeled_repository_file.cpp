// The ".vxq" file of a labeled repository, which is also the summary file
// of a query run.
#include <cstdio>
#include <string>
#include <vector>

#include "automation/detail/text.h"
#include "automation/detail/text_fields.h"
#include "automation/repository/vx_labeled_repository.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"
#include "imagecore/text/image_date.h"

namespace {

// The trimmed fields of a line of `count` fields whose first may hold
// commas (0: a field at every comma).
std::vector<std::string> fields_from_right(const std::string& line, size_t count)
{
    std::vector<char> text(line.begin(), line.end());
    text.push_back('\0');
    std::vector<char*> fields;
    split_fields_from_right(text.data(), ',', count, fields);
    return std::vector<std::string>(fields.begin(), fields.end());
}

bool is_number(const std::string& field)
{
    int value = 0;
    return whole_int(field, &value);
}

struct class_line {
    std::string name;
    int mode = 1;
};

// "<name>, Mode <mode>"; a line without ',' is all name and keeps mode 1.
class_line parse_class_line(const std::string& line)
{
    const std::vector<std::string> fields = fields_from_right(line, 2);
    class_line c;
    c.name = fields[0];
    int mode = 0;
    if (fields.size() == 2 && labelled_int(fields[1], "Mode", &mode))
        c.mode = mode;
    return c;
}

// The record name is all before the numbers that end the line (bar the
// empty field that the writer's final ", " leaves), so that it may hold
// commas; the numbers are, for every class from 1 on, the class number (not
// used), the count and that many ids. A line without numbers is ill-formed;
// one that ends early leaves the remaining classes empty.
bool parse_image_line(const std::string& line, int classes, std::string* name,
                      std::vector<std::vector<int>>* ids)
{
    const std::vector<std::string> plain = fields_from_right(line, 0);
    size_t end = plain.size();
    if (end > 1 && plain.back().empty())
        --end;
    size_t first = end;
    while (first > 1 && is_number(plain[first - 1]))
        --first;
    if (first == end)
        return false;
    *name = fields_from_right(line, plain.size() - first + 1)[0];
    std::vector<int> numbers(end - first);
    for (size_t k = first; k < end; ++k)
        whole_int(plain[k], &numbers[k - first]);
    ids->assign(static_cast<size_t>(classes), std::vector<int>());
    size_t at = 0;
    for (int k = 1; k < classes && at < numbers.size(); ++k) {
        if (at + 1 >= numbers.size() || numbers[at + 1] < 0 ||
            static_cast<size_t>(numbers[at + 1]) > numbers.size() - at - 2)
            return false;
        const auto count = static_cast<size_t>(numbers[at + 1]);
        (*ids)[k].assign(numbers.begin() + static_cast<std::ptrdiff_t>(at + 2),
                         numbers.begin() + static_cast<std::ptrdiff_t>(at + 2 + count));
        at += 2 + count;
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

// Whether a record name comes back whole from its line: not when its text
// after the last ',' is a number, which the reader takes for a label.
bool name_reads_back(const std::string& name)
{
    const size_t comma = name.rfind(',');
    return comma == std::string::npos || !is_number(name.substr(comma + 1));
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
    for (const LabeledImage& record : records)
        if (!name_reads_back(record.name)) {
            vx_report(
                "Could not write labeled repository %s: the name %s ends in a ',' and a "
                "number, which its line cannot tell from its labels\n",
                file, record.name.c_str());
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
