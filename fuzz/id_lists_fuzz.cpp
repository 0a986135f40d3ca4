// Feeds arbitrary bytes to the readers of id-list files, as reference and
// as test, and merges them.
#include <cstdint>
#include <cstdio>
#include <string>

#include "automation/compare/compare_results.h"
#include "fuzz/quiet_stdout.h"
#include "fuzz/temp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz_file file(data, size);
    if (file.written()) {
        discard_stdout();
        const std::string out = std::string(file.path()) + ".out";
        CompareResults(file.path(), file.path(), out.c_str(), 1000);
        MergeResults(file.path(), file.path(), out.c_str(), 1000);
        std::remove(out.c_str());
    }
    return 0;
}
