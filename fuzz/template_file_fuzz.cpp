// Feeds arbitrary structuring-template files to the template reader and
// uses what it read as the filters do: reflected, copied, grown by the disk
// of radius 1 as the partition grows its template, and run as an erosion and
// a dilation over a small picture.
#include <cstdint>

#include "filter/filter.h"
#include "filter/functions.h"
#include "filter/template_file.h"
#include "fuzz/memory_file.h"
#include "fuzz/quiet_stdout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    discard_stdout();
    memory_file file(data, size);
    if (file.path().empty())
        return 0;
    f_filter* f = init_filter(file.path().c_str());
    if (f == nullptr)
        return 0;
    show_template(f);
    template_point_reflection(f);
    f->iterations = 1;
    image* img = create_image(7, 5, 0);
    for (int p = 0; p < img->width * img->height; ++p)
        img->pixels[p] = p * 37 % 256;
    for (unsigned char op : {FILTER_EROSION, FILTER_DILATION}) {
        f->op = op;
        run_filter(img, f);
    }
    f_filter* grown = create_copy_template(f);
    f_filter* disk = init_f_filter();
    if (grown != nullptr && disk != nullptr &&
        init_f_template(&unit_disk_template, disk) != nullptr &&
        dilate_template(grown, disk) == 1) {
        grown->op = FILTER_DILATION;
        grown->iterations = 1;
        run_filter(img, grown);
    }
    delete_filter(disk);
    delete_filter(grown);
    delete_image(img);
    delete_filter(f);
    return 0;
}
