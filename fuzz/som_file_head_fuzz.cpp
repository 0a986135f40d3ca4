// Feeds arbitrary bytes to the reader of a ".som" file's head, which the
// SOFM trainer reads before the map.
#include <cstdint>
#include <string>

#include "automation/sofm/som_file_head.h"
#include "fuzz/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    memory_file file(data, size);
    if (file.path().empty())
        return 0;
    som_file_head head;
    std::string why;
    read_som_file_head(file.path().c_str(), head, why);
    return 0;
}
