#pragma once

// Reverse the byte order of one value in place (big-endian Analyze headers).

#include "imagecore/vximage_export.h"

VXIMAGE_EXPORT void Swap2ByteUSInt(char* p);
VXIMAGE_EXPORT void Swap2ByteSInt(char* p);
VXIMAGE_EXPORT void Swap4ByteUInt(char* p);
VXIMAGE_EXPORT void Swap4ByteInt(char* p);
VXIMAGE_EXPORT void Swap4ByteFloat(char* p);
VXIMAGE_EXPORT void Swap8ByteDouble(char* p);
