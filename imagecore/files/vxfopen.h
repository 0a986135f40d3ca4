#pragma once

#include <cstdio>

#include "imagecore/vximage_export.h"

// The file opener of every computational library. Prints a warning and
// returns null when the file cannot be opened or the path is longer than
// VXFOPEN_MAX_PATH characters (such a path is refused, never shortened);
// errno then tells why (ENAMETOOLONG for a refused path).
inline constexpr int VXFOPEN_MAX_PATH = 2059;

VXIMAGE_EXPORT FILE* vxfopen(const char* path, const char* mode);
