#pragma once

// Marks the classes and functions that the automation shared library exports.
// Everything else is compiled with hidden visibility and stays inside the
// library (see cmake/VxLibrary.cmake).
#define AUTOMATION_EXPORT __attribute__((visibility("default")))
