#pragma once

// Text assembled piece by piece with printf formats, numbers always in the C
// locale, for the texts and rows the region library hands out.

#include <string>

class text_builder {
public:
    // Appends the formatted text.
    text_builder& printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    text_builder& append(const char* text);

    const std::string& str() const { return text_; }
    std::string& str() { return text_; }
    // A new zero-terminated heap copy that the caller frees with free().
    char* heap_copy() const;

private:
    std::string text_;
};
