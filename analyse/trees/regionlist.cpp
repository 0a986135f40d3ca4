#include "analyse/trees/regionlist.h"

#include <cstdint>

namespace {

intptr_t entry_of(tregionnode* node)
{
    return reinterpret_cast<intptr_t>(node);
}

}  // namespace

list* init_region_list(tregionnode* node)
{
    list* l = init_list();
    add_region_list(l, node);
    return l;
}

void add_region_list(list* l, tregionnode* node)
{
    add_list_node(l, init_region_list_node(node));
}

list_elem* init_region_list_node(tregionnode* node)
{
    return init_list_elem(entry_of(node));
}

void reset_region_list(list* l)
{
    reset_list(l);
}

tregionnode* get_next_list_region(list* l)
{
    return reinterpret_cast<tregionnode*>(next_list_elem_entry(l));
}

list_elem* find_region_in_list(list* l, tregionnode* node)
{
    return l == nullptr ? nullptr : find_elem_entry_in_list(l, entry_of(node));
}

list* remove_region_from_list(list* l, tregionnode* node)
{
    list_elem* e = find_region_in_list(l, node);
    if (e == nullptr)
        return l;
    delete_elem_in_list(l, e);
    return delete_list_on_empty(l);
}
