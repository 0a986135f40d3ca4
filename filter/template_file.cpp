#include "filter/template_file.h"

#include <cctype>
#include <cstdlib>

#include "filter/detail/template_grid.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"

namespace {

// Larger weights cannot come from any template a user writes by hand.
constexpr int kMaxWeight = 1 << 30;

enum class token_kind { none, value, too_large };

struct token {
    token_kind kind;
    int value;
    int line;  // 0-based line on which the token ends
};

// Reads the next token; `line` counts the newlines passed so far.
token next_token(FILE* f, int& line)
{
    int c;
    while ((c = std::getc(f)) != EOF) {
        if (c == '.')
            return {token_kind::value, -1, line};
        if (std::isdigit(c)) {
            long long v = 0;
            bool large = false;
            do {
                v = v * 10 + (c - '0');
                large = large || v > kMaxWeight;
                if (large)
                    v = kMaxWeight;
            } while ((c = std::getc(f)) != EOF && std::isdigit(c));
            if (c != EOF)
                std::ungetc(c, f);
            return {large ? token_kind::too_large : token_kind::value, static_cast<int>(v), line};
        }
        if (c == '\n')
            ++line;
    }
    return {token_kind::none, 0, line};
}

}  // namespace

int get_f_width(FILE* f)
{
    std::rewind(f);
    int line = 0;
    int width = 0;
    for (token t = next_token(f, line); t.kind != token_kind::none && t.line == 0;
         t = next_token(f, line))
        ++width;
    return width;
}

int get_f_height(FILE* f)
{
    std::rewind(f);
    int line = 0;
    int height = 0;
    for (token t = next_token(f, line); t.kind != token_kind::none; t = next_token(f, line))
        height = t.line + 1;
    return height;
}

int load_f_template(FILE* file, f_filter* f)
{
    std::rewind(file);
    const long cells = static_cast<long>(f->width) * f->height;
    int line = 0;
    long read = 0;
    while (read < cells) {
        const token t = next_token(file, line);
        if (t.kind == token_kind::none)
            break;
        if (t.kind == token_kind::too_large)
            return -1;
        f->values[read++] = t.value;
    }
    return static_cast<int>(read);
}

f_filter* init_filter(const char* path)
{
    FILE* file = vxfopen(path, "r");
    if (file == nullptr) {
        vx_report("Unable to open file %s\n", path);
        return nullptr;
    }
    f_filter* f = nullptr;
    const int width = get_f_width(file);
    const int height = get_f_height(file);
    constexpr int kMaxSide = 2 * F_TEMPLATE_MAX_HALF + 1;
    if (width % 2 == 0 || width > kMaxSide) {
        vx_report("%s Not a filter file\n", path);
    } else if (height != width) {
        vx_report("morph_filter templates NON Quadratic Template File Fill up with X's\n");
    } else if ((f = init_f_filter()) != nullptr) {
        f->width = f->height = width;
        f->values =
            static_cast<int*>(std::malloc(sizeof(int) * static_cast<size_t>(width) * width));
        if (f->values == nullptr || load_f_template(file, f) != width * width) {
            vx_report(f->values == nullptr ? "Not enough memory for filter template\n"
                                           : "Error while reading template\n");
            delete_filter(f);
            f = nullptr;
        } else {
            set_filter_grid(f, f->values, width, width);
        }
    }
    std::fclose(file);
    return f;
}
