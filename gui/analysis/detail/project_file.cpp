#include "gui/analysis/detail/project_file.h"

#include <QDir>
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

QString file_text(const std::string& name)
{
    return QFile::decodeName(name.c_str());
}

std::string file_bytes(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

// The project's folder, absolute and clean.
QString folder_of(const QString& project)
{
    return QDir::cleanPath(QFileInfo(project).absolutePath());
}

bool in_working_folder(const QString& folder)
{
    return folder == QDir::cleanPath(QDir::currentPath());
}

// How the name is stored in a project of that folder: a relative name is
// relative to the working folder, so it stays as it is only when the
// project lies there.
std::string stored(const std::string& name, const QString& folder)
{
    if (name.empty() || name.front() == '/' || in_working_folder(folder))
        return name;
    const std::string absolute =
        file_bytes(QDir::cleanPath(QDir::current().absoluteFilePath(file_text(name))));
    return absolute.size() <= vx_name_capacity ? absolute : name;
}

// Where a stored relative name points for a project of that folder.
std::string located(const std::string& name, const QString& folder)
{
    if (name.empty() || name.front() == '/' || in_working_folder(folder))
        return name;
    const std::string beside = file_bytes(folder) + "/" + name;
    if (beside.size() > vx_name_capacity)
        return name;
    return vx_readable(name.c_str()) && !vx_readable(beside.c_str()) ? name : beside;
}

}  // namespace

std::string vx_project_text(const vx_project_names& names, const QString& file)
{
    const QString folder = folder_of(file);
    std::string text;
    for (std::size_t k = 0; k < std::size(keywords); ++k)
        text += std::string(keywords[k]) + " " + stored(names.*vx_project_fields[k], folder) + "\n";
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
    const QString folder = folder_of(file);

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
        read.*vx_project_fields[k] = located(name, folder);
    }
    names = read;
    return true;
}
