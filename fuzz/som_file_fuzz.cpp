// Feeds arbitrary ".som" files to the map reader and runs the map
// operations that index by what the file says: labels, cluster centres and
// the grid. The first two bytes choose the dimension and count of the inputs
// the file must fit; the rest is the file.
#include <cstdint>

#include "automation/sofm/vxsofm.h"
#include "fuzz/memory_file.h"
#include "fuzz/quiet_stdout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    discard_stdout();
    if (size < 2)
        return 0;
    memory_file file(data + 2, size - 2);
    if (file.path().empty())
        return 0;
    vector_array* inputs = init_vector_array(data[0] % 4, data[1] % 8, 0.5);
    {
        vxsofm map(file.path().c_str(), inputs);
        map.initClusterLabelMap();
        map.displayClusterLabelMap();
        map.displayDistanceMap();
        map.displayLocalDistanceMap();
        map.setMarkerForInput();
        map.write("/dev/null", "fuzz", nullptr);
    }
    delete_vector_array(inputs);
    return 0;
}
