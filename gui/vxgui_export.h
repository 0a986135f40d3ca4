#pragma once

// Marks the classes and functions that the vxgui shared library exports.
// Everything else is compiled with hidden visibility and stays inside the
// library (see cmake/VxLibrary.cmake).
#define VXGUI_EXPORT __attribute__((visibility("default")))
