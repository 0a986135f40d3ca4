#pragma once

#include <cstddef>

// Copies len bytes of src into out, which holds `capacity` bytes, and ends
// it with a NUL. A text that does not fit is cut to capacity - 1 characters
// and vx_text_cut_message reports it. Returns the number of characters
// stored.
size_t vx_copy_text(char* out, size_t capacity, const char* src, size_t len, const char* who);

// The message that a text of len characters was cut to `kept` by `who`.
void vx_text_cut_message(const char* who, size_t len, size_t kept);
