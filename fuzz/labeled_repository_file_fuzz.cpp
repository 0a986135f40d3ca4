// Feeds arbitrary bytes to the ".vxq" labeled-repository reader, over a
// repository of four images whatever the file names, and writes what it
// read back out.
#include <cstdint>

#include "automation/repository/vx_labeled_repository.h"
#include "fuzz/temp_file.h"

namespace {

class FixedRepository : public VxLabeledRepository {
public:
    VxRepository* loadRepository(const char*) override
    {
        char a[] = "a.png", b[] = "b.png", c[] = "c.png", d[] = "d.png";
        char* names[] = {a, b, c, d};
        return new VxRepository(names, 4, "/r", "/i", 3);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz_file file(data, size);
    FixedRepository labels;
    if (file.written() && labels.read(file.path()) == 1) {
        for (int i = 0; i < labels.getNumberOfImages(); ++i)
            labels.getNumberOfRegions(i);
        labels.write(file.path());
    }
    return 0;
}
