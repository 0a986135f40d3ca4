#include "analyse/attributes/attributes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "analyse/attributes/base_attributes.h"
#include "analyse/attributes/detail/attrib_maker.h"
#include "analyse/rules/rule_program.h"
#include "analyse/trees/tree_walk.h"
#include "imagecore/fatal.h"
#include "imagecore/report.h"

namespace {

attrib_array* new_attrib_array(int capacity)
{
    auto* vector =
        static_cast<attrib_array*>(vx_calloc(1, sizeof(attrib_array), exit_code::out_of_memory,
                                             "Cannot alloc attribute vector -> PANIC\n"));
    vector->entries = static_cast<attrib_entry*>(
        vx_calloc(capacity > 0 ? capacity : 1, sizeof(attrib_entry), exit_code::out_of_memory,
                  "Cannot alloc attribute entries -> PANIC\n"));
    vector->capacity = capacity;
    return vector;
}

// Stores the name cut to the entry's field.
void set_name(attrib_entry& e, const char* name)
{
    std::snprintf(e.name, sizeof e.name, "%s", name);
}

bool name_matches(const attrib_entry& e, const char* name)
{
    return std::strncmp(e.name, name, ATTRIB_NAME_MAX) == 0;
}

int find_name(const attrib_array* vector, int entries, const char* name)
{
    if (vector == nullptr || name == nullptr)
        return -1;
    for (int i = 0; i < entries; ++i)
        if (name_matches(vector->entries[i], name))
            return i;
    return -1;
}

// The entry a base attribute goes to, or null after the capacity message.
attrib_entry* base_entry(int index, attrib_array* vector, int type, const char* kind)
{
    if (vector == nullptr)
        return nullptr;
    if (index < 0 || index >= NUM_BASE_ATTRIBUTES || index >= vector->capacity) {
        vx_report("Not enough attributes initialized in init %s base attribute\n", kind);
        return nullptr;
    }
    const base_attribute& row = pbaBaseAttributes[index];
    attrib_entry& e = vector->entries[index];
    ++vector->count;
    set_name(e, row.name);
    e.type = row.type;
    e.valid = 1;
    if (row.type != type)
        vx_report("Attr %s; ID %d  TYPE IS NOT DECLARED %s\n", row.name, index,
                  type == ATTRIB_INT ? "INT" : "DOUBLE");
    return &e;
}

// The entry a new named attribute goes to, or null when the name exists or
// the vector is full.
attrib_entry* new_entry(const char* name, attrib_array* vector, int type)
{
    if (vector == nullptr || name == nullptr || check_attrib_exist(vector, name) >= 0)
        return nullptr;
    if (vector->count >= vector->capacity) {
        vx_report("Not enough attributes initialized\n");
        return nullptr;
    }
    attrib_entry& e = vector->entries[vector->count++];
    set_name(e, name);
    e.type = type;
    e.valid = 1;
    return &e;
}

}  // namespace

attrib_array* init_attrib_array(tregionnode* region, const program* prog)
{
    const int symbols = prog != nullptr && prog->symbols != nullptr ? get_symbol_num(prog) : 0;
    attrib_array* vector = new_attrib_array(NUM_BASE_ATTRIBUTES + symbols);
    region->attribs = vector;
    init_base_attribs(region, vector);
    copy_symbols_2_attribs(vector, prog);
    return vector;
}

attrib_vector_maker::attrib_vector_maker(const program* prog)
    : prog_(prog),
      layout_(new_attrib_array(NUM_BASE_ATTRIBUTES + (prog != nullptr && prog->symbols != nullptr
                                                          ? get_symbol_num(prog)
                                                          : 0)))
{
    const tregionnode blank{};
    init_base_attribs(&blank, layout_);
    if (prog == nullptr || prog->symbols == nullptr)
        return;
    for (const symbol* s = prog->symbols->next; s != nullptr; s = s->next) {
        const int entry = layout_->count;
        init_double_attrib(0.0, s->name, layout_);
        symbol_entry_.push_back(layout_->count > entry ? entry : -1);
    }
}

attrib_vector_maker::~attrib_vector_maker()
{
    delete_attrib_array(layout_);
}

void attrib_vector_maker::read_symbols(double* values) const
{
    if (prog_ == nullptr || prog_->symbols == nullptr)
        return;
    size_t k = 0;
    for (const symbol* s = prog_->symbols->next; s != nullptr && k < symbol_entry_.size();
         s = s->next)
        values[k++] = s->value;
}

attrib_array* attrib_vector_maker::make(tregionnode* region, const double* values) const
{
    attrib_array* vector = create_copy_attrib_array(layout_);
    for (int i = 0; i < NUM_BASE_ATTRIBUTES; ++i) {
        const double value = get_base_attribute(region, i);
        if (pbaBaseAttributes[i].type == ATTRIB_INT)
            vector->entries[i].ivalue = static_cast<int>(value);
        else
            vector->entries[i].dvalue = value;
    }
    for (size_t k = 0; k < symbol_entry_.size(); ++k)
        if (symbol_entry_[k] >= 0)
            vector->entries[symbol_entry_[k]].dvalue = values[k];
    region->attribs = vector;
    return vector;
}

void init_base_attribs(const tregionnode* region, attrib_array* vector)
{
    for (int i = 0; i < NUM_BASE_ATTRIBUTES; ++i) {
        const double value = get_base_attribute(region, i);
        if (pbaBaseAttributes[i].type == ATTRIB_INT)
            init_int_base_attrib(static_cast<int>(value), i, vector);
        else
            init_double_base_attrib(value, i, vector);
    }
}

void copy_symbols_2_attribs(attrib_array* vector, const program* prog)
{
    if (prog == nullptr || prog->symbols == nullptr)
        return;
    for (const symbol* s = prog->symbols->next; s != nullptr; s = s->next)
        init_double_attrib(s->value, s->name, vector);
}

void init_int_base_attrib(int value, int index, attrib_array* vector)
{
    if (attrib_entry* e = base_entry(index, vector, ATTRIB_INT, "int"))
        e->ivalue = value;
}

void init_double_base_attrib(double value, int index, attrib_array* vector)
{
    if (attrib_entry* e = base_entry(index, vector, ATTRIB_DOUBLE, "double"))
        e->dvalue = value;
}

void init_int_attrib(int value, const char* name, attrib_array* vector)
{
    if (attrib_entry* e = new_entry(name, vector, ATTRIB_INT))
        e->ivalue = value;
}

void init_double_attrib(double value, const char* name, attrib_array* vector)
{
    if (attrib_entry* e = new_entry(name, vector, ATTRIB_DOUBLE))
        e->dvalue = value;
}

void init_string_attrib(const char* value, const char* name, attrib_array* vector)
{
    if (attrib_entry* e = new_entry(name, vector, ATTRIB_STRING))
        std::snprintf(e->svalue, sizeof e->svalue, "%s", value != nullptr ? value : "");
}

int check_attrib_exist(const attrib_array* vector, const char* name)
{
    return vector != nullptr ? find_name(vector, vector->count, name) : -1;
}

int get_attrib_index(const attrib_array* vector, const char* name)
{
    return vector != nullptr ? find_name(vector, vector->capacity, name) : -1;
}

attrib_array* create_copy_attrib_array(const attrib_array* vector)
{
    if (vector == nullptr)
        return nullptr;
    attrib_array* copy = new_attrib_array(vector->capacity);
    copy->count = vector->count;
    if (vector->capacity > 0)
        std::memcpy(copy->entries, vector->entries, sizeof(attrib_entry) * vector->capacity);
    return copy;
}

void delete_attrib_array(attrib_array* vector)
{
    if (vector == nullptr)
        return;
    std::free(vector->entries);
    std::free(vector);
}

int get_num_attribs(const tregionnode* region)
{
    return region != nullptr && region->attribs != nullptr ? region->attribs->capacity : 0;
}

attrib_array* get_root_attrib_vector(const region_tree* tree)
{
    if (tree == nullptr || tree->root == nullptr || is_leaf(tree->root))
        return nullptr;
    return first_son(tree->root)->attribs;
}

const char* get_attrib_name(const region_tree* tree, int index)
{
    const attrib_array* vector = get_root_attrib_vector(tree);
    if (vector == nullptr || index < 0 || index >= vector->capacity)
        return nullptr;
    return vector->entries[index].name;
}

char** get_attribs_from_node(const tregionnode* region, int* count)
{
    *count = 0;
    if (region == nullptr || region->attribs == nullptr)
        return nullptr;
    const attrib_array* vector = region->attribs;
    const int n = vector->capacity > 0 ? vector->capacity : 0;
    auto** names =
        static_cast<char**>(vx_calloc(n > 0 ? n : 1, sizeof(char*), exit_code::out_of_memory,
                                      "Cannot alloc attribute names -> PANIC\n"));
    for (int i = 0; i < n; ++i) {
        names[i] = static_cast<char*>(vx_calloc(1, sizeof vector->entries[i].name,
                                                exit_code::out_of_memory,
                                                "Cannot alloc attribute name -> PANIC\n"));
        std::memcpy(names[i], vector->entries[i].name, sizeof vector->entries[i].name);
    }
    *count = n;
    return names;
}

void delete_attribute_names(char** names, int count)
{
    if (names == nullptr)
        return;
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

void declassify_tree(tregionnode* region)
{
    walk_preorder(region, [](tregionnode* node) { node->region_class = 0; });
}
