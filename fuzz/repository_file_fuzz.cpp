// Feeds arbitrary bytes to the ".vxr" repository reader, which reads from a
// file name, and writes what it read back out.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "automation/repository/vx_repository.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char path[] = "/tmp/vxr_fuzz.XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        return 0;
    const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
    close(fd);
    if (written) {
        VxRepository repository(path);
        for (int i = 0; i < repository.NumberOfImages(); ++i) {
            repository.ImageFilename(i);
            repository.DarkTreeFilename(i);
        }
        repository.WriteRepository(path);
    }
    std::remove(path);
    return 0;
}
