#include "analyse/detail/text_builder.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "imagecore/fatal.h"
#include "imagecore/text/c_locale.h"

text_builder& text_builder::printf(const char* format, ...)
{
    CLocaleScope c_locale;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        const size_t old = text_.size();
        text_.resize(old + static_cast<size_t>(length) + 1);
        std::vsnprintf(&text_[old], static_cast<size_t>(length) + 1, format, again);
        text_.resize(old + static_cast<size_t>(length));
    }
    va_end(again);
    return *this;
}

text_builder& text_builder::append(const char* text)
{
    text_ += text;
    return *this;
}

char* text_builder::heap_copy() const
{
    auto* copy = static_cast<char*>(vx_calloc(text_.size() + 1, 1, exit_code::out_of_memory,
                                              "Could not allocate memory for a text -> PANIC"));
    std::memcpy(copy, text_.data(), text_.size());
    return copy;
}
