#pragma once

// Marks the functions and variables that the vximage shared library exports.
// Everything else is compiled with hidden visibility and stays inside the
// library (see cmake/VxLibrary.cmake).
#define VXIMAGE_EXPORT __attribute__((visibility("default")))
