#pragma once

// Runs one of the attribute printers on a buffer large enough for every text
// it can write for the vector, and returns what it wrote.

#include <string>
#include <vector>

#include "analyse/trees/region_types.h"

// A name (at most 28 characters), the longest "%f" of a double (329) and the
// longest decoration (": continuous.\n") fit with room to spare.
inline constexpr size_t ATTRIBUTE_TEXT_ROOM = 400;

template <class Print>
std::string attribute_text(const attrib_array* vector, Print print)
{
    const size_t entries =
        vector != nullptr && vector->capacity > 0 ? static_cast<size_t>(vector->capacity) : 0;
    std::vector<char> buffer((entries + 1) * ATTRIBUTE_TEXT_ROOM, '\0');
    print(buffer.data());
    return std::string(buffer.data());
}
