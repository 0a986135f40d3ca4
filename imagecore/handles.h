#pragma once

// Scoped handles for the records of the image library: a std::unique_ptr
// that frees its record with the record's own delete_ function, so that a
// routine holding several records frees them on every path. The libraries'
// functions still take and return plain pointers: get() lends the record,
// release() hands it on to the caller.

#include <memory>

#include "imagecore/histogram.h"
#include "imagecore/image.h"
#include "imagecore/list.h"
#include "imagecore/queue.h"
#include "imagecore/vx_image.h"

// Frees the record with its delete_ function.
template <class Record, void (*Delete)(Record*)>
struct record_deleter {
    void operator()(Record* record) const { Delete(record); }
};

template <class Record, void (*Delete)(Record*)>
using record_handle = std::unique_ptr<Record, record_deleter<Record, Delete>>;

using image_handle = record_handle<image, delete_image>;
using vx_image_handle = record_handle<vx_image, delete_vximage>;
using iqueue_handle = record_handle<iqueue, delete_iqueue>;
using histogramm_handle = record_handle<histogramm, delete_histogramm>;
// The list alone: delete_list frees its elements, not what they point to.
using list_handle = record_handle<list, delete_list>;
