#include "analyse/vectors/vectorfile.h"

#include <charconv>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

#include "imagecore/files/checked_file.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"
#include "imagecore/text/cnumbers.h"

namespace {

// Characters a Kohonen token may hold per dimension.
constexpr long kTokenCharsPerDim = 25;

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

bool is_space(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

enum class token_status { ok, end, too_long };

// Reads the next blank-free token of at most `limit` characters.
token_status next_token(FILE* f, std::string& token, size_t limit)
{
    token.clear();
    int c = std::getc(f);
    while (c != EOF && is_space(c))
        c = std::getc(f);
    if (c == EOF)
        return token_status::end;
    for (; c != EOF && !is_space(c); c = std::getc(f)) {
        if (token.size() == limit)
            return token_status::too_long;
        token.push_back(static_cast<char>(c));
    }
    return token_status::ok;
}

bool parse_int(const std::string& token, int& out)
{
    const char* first = token.c_str();
    const char* last = first + token.size();
    if (first != last && *first == '+')
        ++first;
    const auto res = std::from_chars(first, last, out);
    return res.ec == std::errc() && res.ptr == last;
}

__attribute__((format(printf, 2, 3))) vector_array* refuse(const char* name, const char* why, ...)
{
    vx_report("Could not read Kohonen vector set %s: ", name);
    va_list args;
    va_start(args, why);
    vx_vreport(why, args);
    va_end(args);
    vx_report("\n");
    return nullptr;
}

// The text of one vector line: values as "%f, ", the last as "%f.\n".
void format_vector_line(const vector& v, int dim, std::string& line)
{
    line.clear();
    char number[320];
    for (int k = 0; k < dim; ++k) {
        vx_format_fixed(number, sizeof number, v.values[k], 6);
        line += number;
        line += k + 1 < dim ? ", " : ".\n";
    }
}

}  // namespace

int get_next_float(const char* text, double* out)
{
    if (text == nullptr)
        return -1;
    int i = 0;
    while (text[i] != '\0' && !is_digit(text[i]))
        ++i;
    if (text[i] == '\0')
        return -1;
    *out = vx_atof(text + i);
    while (is_digit(text[i]) || text[i] == '.')
        ++i;
    return i;
}

vector_array* read_vector_array(const char* file, int dim, int count, double value)
{
    FILE* f = file != nullptr ? vxfopen(file, "r") : nullptr;
    if (f == nullptr)
        return nullptr;
    std::fclose(f);
    return init_vector_array(dim, count, value);
}

int write_vector_array(const vector_array* array, const char* file)
{
    if (array == nullptr || file == nullptr)
        return 0;
    checked_file out(file, "w");
    bool ok = out.write("Dim: " + std::to_string(array->dim) +
                        ", Num: " + std::to_string(array->count) + "\n");
    std::string line;
    for (int i = 0; ok && i < array->count && array->dim > 0; ++i) {
        format_vector_line(array->vectors[i], array->dim, line);
        ok = out.write(line);
    }
    ok = out.close() && ok;
    if (!ok)
        vx_report("Could not write vector array to %s\n", file);
    return ok ? 1 : 0;
}

vector_array* load_kohonen_vector_set_from(FILE* f, const char* name)
{
    if (f == nullptr)
        return nullptr;
    std::string token;
    int dim = 0;
    int count = 0;
    if (next_token(f, token, 32) != token_status::ok || !parse_int(token, dim))
        return refuse(name, "no dimension");
    if (next_token(f, token, 32) != token_status::ok || !parse_int(token, count))
        return refuse(name, "no vector count");
    if (dim < 1)
        return refuse(name, "dimension %d", dim);
    if (count < 0)
        return refuse(name, "vector count %d", count);

    // Values are gathered first, so that a count the file does not hold
    // allocates nothing.
    const long long chars = static_cast<long long>(kTokenCharsPerDim) * dim;
    const size_t limit = static_cast<size_t>(chars < INT_MAX ? chars : INT_MAX);
    std::vector<double> values;
    for (int i = 0; i < count; ++i) {
        const token_status st = next_token(f, token, limit);
        if (st == token_status::end)
            return refuse(name, "the file ends before vector %d", i);
        if (st == token_status::too_long)
            return refuse(name, "vector %d is longer than 25 characters per dimension", i);
        const char* text = token.c_str();
        for (int k = 0; k < dim; ++k) {
            double v = 0.0;
            const int used = get_next_float(text, &v);
            if (used < 0)
                return refuse(name, "vector %d holds too few numbers", i);
            text += used;
            values.push_back(v);
        }
    }

    vector_array* array = init_vector_array(dim, count, 0.0);
    for (int i = 0; i < count; ++i)
        std::memcpy(array->vectors[i].values,
                    values.data() + static_cast<size_t>(i) * static_cast<size_t>(dim),
                    sizeof(double) * static_cast<size_t>(dim));
    return array;
}

vector_array* load_kohonen_vector_set(const char* file)
{
    FILE* f = file != nullptr ? vxfopen(file, "r") : nullptr;
    if (f == nullptr)
        return nullptr;
    vector_array* array = load_kohonen_vector_set_from(f, file);
    std::fclose(f);
    return array;
}
