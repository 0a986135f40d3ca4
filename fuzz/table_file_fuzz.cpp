// Feeds arbitrary separated-value files to the table reader and hands what
// it read to the table's writer and vector extraction.
#include <cstdint>
#include <vector>

#include "automation/tables/vxtable.h"
#include "fuzz/memory_file.h"
#include "fuzz/quiet_stdout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    discard_stdout();
    memory_file file(data, size);
    if (file.path().empty())
        return 0;
    VxTable table(file.path().c_str(), ',');
    std::vector<unsigned> all;
    for (int c = 0; c < table.getColumns(); ++c) {
        all.push_back(static_cast<unsigned>(c));
        double lo = 0.0, hi = 0.0;
        table.getMinMax(c, &lo, &hi);
    }
    table.writeCSV("/dev/null", static_cast<unsigned>(all.size()), all.data());
    delete_vector_array(
        table.extractVArray(static_cast<unsigned>(all.size()), all.data(), "Class"));
    return 0;
}
