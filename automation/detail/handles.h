#pragma once

// The scoped handles of the lower libraries that the automation classes hold
// while they work.

#include "analyse/handles.h"
#include "imagecore/handles.h"
