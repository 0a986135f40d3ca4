#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "automation/projects/project_file.h"
#include "testsupport/vx_test.h"

namespace {

// The working folder for a test's time.
class working_folder {
public:
    explicit working_folder(const std::string& folder) { std::filesystem::current_path(folder); }
    ~working_folder() { std::filesystem::current_path(previous); }

private:
    const std::filesystem::path previous = std::filesystem::current_path();
};

// A name too long to take the project's folder stays relative to the
// working folder; written from a working folder inside the project's, it
// must still fit when the project is read again.
TEST(ProjectFile, EveryNameItReadsIsWrittenSoThatItReadsBack)
{
    const vx_test::TempDir dir;
    std::filesystem::create_directory(dir.file("inner"));
    const working_folder inner(dir.file("inner"));
    const std::string project = dir.file("p.vxp");
    std::string text;
    for (const char* keyword : {"BrightTree:", "DarkTree:", "Resultname:", "Imagename:",
                                "Brightrule:", "Darkrule:", "Brightresults:", "Darkresults:"})
        text += std::string(keyword) + " x\n";
    vx_test::write_file(project, text + "Attributes: " + std::string(vx_name_capacity, 'a') + "\n");

    vx_project_names names;
    std::string fault;
    ASSERT_TRUE(read_project_file(project, names, fault)) << fault;
    vx_test::write_file(project, project_file_text(names, project));
    EXPECT_TRUE(read_project_file(project, names, fault)) << fault;
    EXPECT_EQ(names.brightRule, dir.file("x"));
}

}  // namespace
