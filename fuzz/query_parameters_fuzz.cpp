// Feeds arbitrary bytes to the ".query" reader and writes what it read back
// out.
#include <cstdint>

#include "automation/repository/vx_query_parameters.h"
#include "fuzz/temp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz_file file(data, size);
    if (file.written()) {
        VxQueryParameters parameters(file.path());
        for (int q = 0; q < parameters.NumQueries(); ++q)
            parameters.Mode(q, parameters.QueryFile(q));
        parameters.write(file.path());
    }
    return 0;
}
