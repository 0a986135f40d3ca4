#pragma once

// The attribute names and values of regions as the text of table rows. Not
// part of the library's interface.

#include <string>

#include "analyse/trees/region_types.h"

// Every entry of the vector, joined by the separator and a blank (a null
// vector gives "").
std::string attribute_names_text(const attrib_array* vector, char separator);
std::string attribute_values_text(const attrib_array* vector, char separator);

// The n selected int and double entries (indices outside the vector and
// string entries are skipped), joined by ",".
std::string selected_names_text(const attrib_array* vector, const int* indices, int n);
std::string selected_values_text(const attrib_array* vector, const int* indices, int n);
// "name: continuous.\n" per selected entry.
std::string c4_5_names_text(const attrib_array* vector, const int* indices, int n);
