#pragma once

// Scoped handles for the records of the filter library (see
// imagecore/handles.h).

#include "filter/mms_part_control.h"
#include "filter/templates.h"
#include "imagecore/handles.h"

using filter_handle = record_handle<f_filter, delete_filter>;
using mms_part_control_handle = record_handle<mms_part_control, delete_mms_part_control>;
