// Feeds arbitrary files, gzip-compressed or plain, to the feature-layer
// reader and writes back what it read. A malformed file ends the process,
// which returns here.
#include <cstdint>

#include "automation/layers/vxfeaturelayerimage.h"
#include "fuzz/fatal_returns.h"
#include "fuzz/memory_file.h"
#include "fuzz/quiet_stdout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    discard_stdout();
    memory_file file(data, size);
    if (file.path().empty())
        return 0;
    try {
        VxFeatureLayerImage layers(file.path().c_str());
        for (int l = 0; l < layers.getLayer(); ++l)
            layers.getValue(layers.getWidth() - 1, layers.getHeight() - 1, l);
        layers.write("/dev/null");
    } catch (const process_end&) {}
    return 0;
}
