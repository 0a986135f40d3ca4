// Feeds arbitrary bytes to the ".vxr" repository reader, which reads from a
// file name, and writes what it read back out.
#include <cstdint>

#include "automation/repository/vx_repository.h"
#include "fuzz/temp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz_file file(data, size);
    if (file.written()) {
        VxRepository repository(file.path());
        for (int i = 0; i < repository.NumberOfImages(); ++i) {
            repository.ImageFilename(i);
            repository.DarkTreeFilename(i);
        }
        repository.WriteRepository(file.path());
    }
    return 0;
}
