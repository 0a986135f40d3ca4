#pragma once

// Marks the functions and variables that the analyse shared library exports.
// Everything else is compiled with hidden visibility and stays inside the
// library (see cmake/VxLibrary.cmake).
#define ANALYSE_EXPORT __attribute__((visibility("default")))
