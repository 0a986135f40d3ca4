// Feeds arbitrary ".vxp" files to the project reader; a project it read is
// written out and must read back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "automation/projects/project_file.h"
#include "fuzz/temp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz_file file(data, size);
    vx_project_names names;
    std::string fault;
    if (!file.written() || !read_project_file(file.path(), names, fault))
        return 0;
    const std::string text = project_file_text(names, file.path());
    FILE* out = std::fopen(file.path(), "wb");
    if (out == nullptr)
        return 0;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    vx_project_names again;
    if (!read_project_file(file.path(), again, fault))
        std::abort();
    return 0;
}
