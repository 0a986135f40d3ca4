#include <climits>
#include <cstdarg>
#include <cstring>
#include <vector>

#include "automation/detail/text_fields.h"
#include "automation/sofm/vxsofm.h"
#include "imagecore/files/checked_file.h"
#include "imagecore/files/vxfopen.h"
#include "imagecore/report.h"
#include "imagecore/text/c_locale.h"
#include "imagecore/text/image_date.h"
#include "imagecore/text/vxstringtools.h"

namespace {

// Everything a ".som" file holds, read in full before the map is built.
struct som_contents {
    int inputs = 0;
    std::vector<int> centres;  // of inputs 1 .. inputs - 1
    int width = 0;
    int height = 0;
    int dim = 0;
    int nodes = 0;
    int step = 0;
    int max_steps = 0;
    int function = 0;
    int normalization = 0;
    double learn_rate = 0.0;
    double learn_scope = 0.0;
    std::vector<double> weights;    // nodes x dim
    std::vector<int> units;         // unit index field per node
    std::vector<double> distances;  // per node
    std::vector<int> classes;       // ground-truth class per input
    std::vector<int> marks;         // mark per input
};

// A vector line: dim values and the unit index.
bool parse_vector_fields(const std::vector<char*>& fields, int dim, double* values, int& unit)
{
    if (fields.size() != static_cast<size_t>(dim) + 1)
        return false;
    for (int k = 0; k < dim; ++k)
        if (!parse_whole_double(fields[static_cast<size_t>(k)], values[k]))
            return false;
    return parse_whole_int(fields.back(), unit);
}

class som_reader {
public:
    som_reader(FILE* f, const char* name) : lines_(f), name_(name) {}

    // Reads and checks the whole file against the inputs.
    bool read(const vector_array& inputs, som_contents& out);

private:
    __attribute__((format(printf, 2, 3))) bool fail(const char* format, ...)
    {
        char why[256];
        va_list args;
        va_start(args, format);
        std::vsnprintf(why, sizeof why, format, args);
        va_end(args);
        vx_report("Could not read SOM %s: %s\n", name_, why);
        return false;
    }

    bool line()
    {
        if (!lines_.next())
            return fail("the file ends at line %d", line_number_ + 1);
        ++line_number_;
        stripLeadingWhitespacesString(lines_.text());
        return true;
    }

    bool section(const char* title)
    {
        if (!line())
            return false;
        return std::strcmp(lines_.text(), title) == 0 ||
               fail("line %d is not \"%s\"", line_number_, title);
    }

    template <typename T>
    bool keyed(const char* key, T& out)
    {
        if (!line())
            return false;
        char* text = lines_.text();
        const size_t n = std::strlen(key);
        if (std::strncmp(text, key, n) == 0) {
            stripLeadingWhitespacesString(text + n);
            if (parse(text + n, out))
                return true;
        }
        return fail("line %d is not \"%s\" and a number", line_number_, key);
    }

    static bool parse(const char* text, int& out) { return parse_whole_int(text, out); }
    static bool parse(const char* text, double& out) { return parse_whole_double(text, out); }

    // The next line, split at commas into `count` fields.
    bool fields(size_t count)
    {
        if (!line())
            return false;
        split_fields(lines_.text(), ',', fields_);
        return fields_.size() == count ||
               fail("line %d does not hold %zu values", line_number_, count);
    }

    template <typename T>
    bool numbers(size_t first, std::vector<T>& out)
    {
        for (size_t k = first; k < fields_.size(); ++k) {
            T value{};
            if (!parse(fields_[k], value))
                return fail("value %zu of line %d is no number", k + 1, line_number_);
            out.push_back(value);
        }
        return true;
    }

    line_reader lines_;
    const char* name_;
    std::vector<char*> fields_;
    int line_number_ = 0;
};

bool som_reader::read(const vector_array& inputs, som_contents& c)
{
    // 1. Head: date, source and column selection are not needed.
    if (!line() || !line() || !section("ColumnSelection") || !line() || !section("ClusterCenter") ||
        !line())
        return false;
    split_fields(lines_.text(), ',', fields_);
    if (!parse(fields_[0], c.inputs))
        return fail("line %d holds no input count", line_number_);
    if (c.inputs != inputs.count)
        return fail("the map was trained on %d inputs, not on %d", c.inputs, inputs.count);
    const size_t centres = c.inputs > 0 ? static_cast<size_t>(c.inputs) - 1 : 0;
    if (fields_.size() != centres + 1)
        return fail("line %d does not hold %zu cluster centres", line_number_, centres);
    if (!numbers(1, c.centres))
        return false;

    // 2. Sizes and learning parameters.
    if (!keyed("Width:", c.width) || !keyed("Height:", c.height) || !keyed("Dim:", c.dim) ||
        !keyed("Nodes :", c.nodes) || !keyed("Stepcount:", c.step) ||
        !keyed("Maxstep:", c.max_steps) || !keyed("Function:", c.function) ||
        !keyed("Normalization:", c.normalization) || !keyed("Learnrate:", c.learn_rate) ||
        !keyed("Learnscope:", c.learn_scope))
        return false;
    if (c.width < 1 || c.height < 1 || c.width > INT_MAX / c.height ||
        c.nodes != c.width * c.height)
        return fail("a map of %d x %d units cannot have %d nodes", c.width, c.height, c.nodes);
    if (c.dim != inputs.dim)
        return fail("the map holds vectors of dimension %d, the inputs have %d", c.dim, inputs.dim);
    for (int centre : c.centres)
        if (centre < 0 || centre >= c.nodes)
            return fail("cluster centre %d is no unit of the map", centre);

    // 3. Weights, distance map, classes; each block is as long as the head says.
    if (!section("Trained Vectors Table"))
        return false;
    std::vector<double> values(static_cast<size_t>(c.dim));
    for (int i = 0; i < c.nodes; ++i) {
        int unit = 0;
        if (!line())
            return false;
        split_fields(lines_.text(), ',', fields_);
        if (!parse_vector_fields(fields_, c.dim, values.data(), unit))
            return fail("line %d is no weight vector of dimension %d", line_number_, c.dim);
        if (unit < -1 || unit >= c.inputs)
            return fail("weight %d names input %d", i, unit);
        c.weights.insert(c.weights.end(), values.begin(), values.end());
        c.units.push_back(unit);
    }
    if (!section("DistanceMap"))
        return false;
    for (int row = 0; row < c.height; ++row)
        if (!fields(static_cast<size_t>(c.width)) || !numbers(0, c.distances))
            return false;
    if (!section("Classes_GT_CMP"))
        return false;
    for (int i = 0; i < c.inputs; ++i) {
        std::vector<int> pair;
        if (!fields(2) || !numbers(0, pair))
            return false;
        c.classes.push_back(pair[0]);
        c.marks.push_back(pair[1]);
    }
    return true;
}

}  // namespace

vxsofm::vxsofm(const char* file, vector_array* inputs)
{
    vx_report("Reading  SOM with ");
    if (!read_file(file, inputs))
        make_empty();
}

bool vxsofm::read_file(const char* file, vector_array* inputs)
{
    if (file == nullptr || inputs == nullptr) {
        vx_report("Could not read SOM %s: no inputs\n", file != nullptr ? file : "(null)");
        return false;
    }
    FILE* f = vxfopen(file, "r");
    if (f == nullptr) {
        vx_report("Could not read SOM %s\n", file);
        return false;
    }
    som_contents c;
    som_reader reader(f, file);
    const bool ok = reader.read(*inputs, c);
    std::fclose(f);
    if (!ok)
        return false;

    map_.reset(create_sofm_params(c.width, c.height, inputs));
    adopt_weights();
    sofm_params* m = map_.get();
    m->step = c.step;
    m->max_steps = c.max_steps;
    m->function = c.function;
    m->normalization = c.normalization;
    m->learn_rate = c.learn_rate;
    m->learn_scope = c.learn_scope;
    vx_report("Input: %d vectors, dimension %d\n", m->num_inputs, m->dim);

    // The inputs come raw from their table: normalise them as the map was.
    minmax_interval();
    normalize_inputs();
    for (int i = 0; i < m->units; ++i) {
        vector& w = m->weights->vectors[i];
        if (m->dim > 0)
            std::memcpy(w.values,
                        c.weights.data() + static_cast<size_t>(i) * static_cast<size_t>(m->dim),
                        sizeof(double) * static_cast<size_t>(m->dim));
        w.unit = c.units[static_cast<size_t>(i)];
        w.col = i % m->width;
        w.row = i / m->width;
    }
    cluster_labels_ = c.units;
    distance_map_ = c.distances;
    for (int k = 0; k < m->num_inputs; ++k) {
        vector& in = inputs->vectors[k];
        in.gt_class = c.classes[static_cast<size_t>(k)];
        in.mark = c.marks[static_cast<size_t>(k)];
        if (k == 0)
            continue;
        const int centre = c.centres[static_cast<size_t>(k) - 1];
        m->cluster_center[k] = centre;
        in.col = centre % m->width;
        in.row = centre / m->width;
        in.unit = centre;
    }
    update_display();
    return true;
}

bool vxsofm::write(const char* file, const char* source, const unsigned* columns)
{
    // Written beside the file and renamed over it when complete.
    checked_file out(file, "w");
    FILE* f = out.stream();
    if (f == nullptr) {
        vx_report("Could not open %s for SOM output\n", file != nullptr ? file : "(null)");
        return false;
    }
    const sofm_params* m = map_.get();
    CLocaleScope c_locale;
    char date[32];
    image_date(date);
    std::fprintf(f, "Generated at %s from\n%s\n", date, source != nullptr ? source : "");
    std::fprintf(f, "ColumnSelection\n%d", m->dim);
    for (int k = 0; columns != nullptr && k < m->dim; ++k)
        std::fprintf(f, ", %u", columns[k]);
    std::fprintf(f, "\nClusterCenter\n%d", m->num_inputs);
    for (int i = 1; i < m->num_inputs; ++i)
        std::fprintf(f, ", %d", m->cluster_center[i]);
    std::fprintf(f, "\nWidth: %d\nHeight: %d\nDim: %d\nNodes :%d\n", m->width, m->height, m->dim,
                 m->units);
    std::fprintf(f, "Stepcount: %d\nMaxstep: %d\nFunction: %d\nNormalization: %d\n", m->step,
                 m->max_steps, m->function, m->normalization);
    std::fprintf(f, "Learnrate: %f\nLearnscope: %f\n", m->learn_rate, m->learn_scope);
    std::fprintf(f, "Trained Vectors Table\n");
    if (m->weights != nullptr)
        write_vector_array(f, m->weights);
    std::fprintf(f, "DistanceMap\n");
    for (int row = 0; row < m->height; ++row)
        for (int col = 0; col < m->width; ++col) {
            const size_t i =
                static_cast<size_t>(row) * static_cast<size_t>(m->width) + static_cast<size_t>(col);
            std::fprintf(f, col + 1 < m->width ? "%f, " : "%f\n",
                         distance_map_.empty() ? 0.0 : distance_map_[i]);
        }
    std::fprintf(f, "Classes_GT_CMP\n");
    for (int i = 0; i < m->num_inputs; ++i)
        std::fprintf(f, "%d, %d\n", m->inputs->vectors[i].gt_class, m->inputs->vectors[i].mark);
    const bool ok = out.close();
    if (!ok)
        vx_report("Could not write SOM %s\n", file);
    return ok;
}

vector_array* vxsofm::read_vector_array(const char* file, int dim, int n, double value)
{
    return ::read_vector_array(file, dim, n, value);
}

int vxsofm::read_vector_array(FILE* f, vector_array* array)
{
    if (f == nullptr || array == nullptr)
        return 0;
    line_reader lines(f);
    std::vector<char*> fields;
    int read = 0;
    for (; read < array->count && lines.next(); ++read) {
        vector& v = array->vectors[read];
        split_fields(lines.text(), ',', fields);
        if (!parse_vector_fields(fields, array->dim, v.values, v.unit)) {
            vx_report("Could not read vector %d: it holds no %d values and a unit index\n", read,
                      array->dim);
            break;
        }
    }
    return read;
}

bool vxsofm::write_vector_array(const char* file)
{
    return map_->weights != nullptr && ::write_vector_array(map_->weights, file) == 1;
}

void vxsofm::write_vector_array(FILE* f, const vector_array* array)
{
    CLocaleScope c_locale;
    for (int i = 0; i < array->count; ++i) {
        const vector& v = array->vectors[i];
        for (int k = 0; k < array->dim; ++k)
            std::fprintf(f, "%f, ", v.values[k]);
        std::fprintf(f, "%d\n", v.unit);
    }
}

bool vxsofm::write_2d_vector_array(const char* file, const vector_array* array)
{
    if (file == nullptr || array == nullptr)
        return false;
    checked_file out(file, "w");
    if (!out.is_open())
        return false;
    for (int k = 0; array->names != nullptr && k < array->dim; ++k)
        std::fprintf(out.stream(), k + 1 < array->dim ? "%s, " : "%s\n", array->names[k]);
    write_vector_array(out.stream(), array);
    const bool ok = out.close();
    if (!ok)
        vx_report("Could not write vector array %s\n", file);
    return ok;
}

vector_array* vxsofm::load_kohonen_vector_set(const char* file)
{
    loaded_.reset(::load_kohonen_vector_set(file));
    return loaded_.get();
}
