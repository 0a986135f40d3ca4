#include "gui/analysis/detail/project_file.h"

#include <QFile>
#include <QFileInfo>
#include <iterator>

#include "gui/foundation/file_checks.h"

namespace {

// The keyword of each field of vx_project_fields.
const char* const keywords[] = {
    "BrightTree:", "DarkTree:",      "Resultname:",  "Imagename:",  "Brightrule:",
    "Darkrule:",   "Brightresults:", "Darkresults:", "Attributes:",
};
static_assert(std::size(keywords) == std::size(vx_project_fields));

constexpr char white_space[] = " \t\r\v\f";

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(white_space);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(white_space) - first + 1);
}

// A relative name that does not open here but beside the project file.
std::string located(const std::string& name, const std::string& directory)
{
    if (name.empty() || name.front() == '/' || directory == "." || vx_readable(name.c_str()))
        return name;
    const std::string beside = directory + "/" + name;
    return beside.size() <= vx_name_capacity && vx_readable(beside.c_str()) ? beside : name;
}

}  // namespace

std::string vx_project_text(const vx_project_names& names)
{
    std::string text;
    for (std::size_t k = 0; k < std::size(keywords); ++k)
        text += std::string(keywords[k]) + " " + names.*vx_project_fields[k] + "\n";
    return text;
}

bool vx_read_project_file(const QString& file, vx_project_names& names, QString& fault)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        fault = "Unable to open project file\n" + file;
        return false;
    }
    const QByteArray content = in.readAll();
    const std::string text(content.constData(), static_cast<std::size_t>(content.size()));
    const std::string directory = QFile::encodeName(QFileInfo(file).path()).toStdString();

    vx_project_names read;
    std::size_t at = 0;
    for (std::size_t k = 0; k < std::size(keywords); ++k) {
        std::string row;
        while (row.empty() && at < text.size()) {
            std::size_t end = text.find('\n', at);
            if (end == std::string::npos)
                end = text.size();
            row = trimmed(text.substr(at, end - at));
            at = end + 1;
        }
        const std::string keyword = keywords[k];
        if (row.compare(0, keyword.size(), keyword) != 0) {
            fault = QString("Project file\n%1\nlacks the keyword %2").arg(file, keywords[k]);
            return false;
        }
        const std::string name = trimmed(row.substr(keyword.size()));
        if (name.size() > vx_name_capacity) {
            fault = QString("Project file\n%1\nholds a name of more than %2 characters")
                        .arg(file)
                        .arg(vx_name_capacity);
            return false;
        }
        read.*vx_project_fields[k] = located(name, directory);
    }
    names = read;
    return true;
}
