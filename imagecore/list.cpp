#include "imagecore/list.h"

#include <cstdlib>

#include "imagecore/fatal.h"

list_elem* init_list_elem(intptr_t entry)
{
    auto* e = static_cast<list_elem*>(std::malloc(sizeof(list_elem)));
    if (e == nullptr)
        vx_out_of_memory(exit_code::out_of_memory, "Could not alloc new list element -> Panic");
    e->next = e->prev = nullptr;
    e->entry = entry;
    return e;
}

list* init_list()
{
    auto* l = static_cast<list*>(std::malloc(sizeof(list)));
    if (l == nullptr)
        vx_out_of_memory(exit_code::out_of_memory, "Could not alloc new list structure -> Panic");
    l->head = init_list_elem(0);
    l->tail = init_list_elem(0);
    l->head->next = l->tail;
    l->tail->prev = l->head;
    l->act = l->head;
    l->size = 0;
    return l;
}

void add_list_node(list* l, list_elem* e)
{
    list_elem* last = l->tail->prev;
    e->prev = last;
    e->next = l->tail;
    last->next = e;
    l->tail->prev = e;
    ++l->size;
}

list_elem* delete_elem_in_list(list* l, list_elem* e)
{
    if (e == l->head || e == l->tail)
        return nullptr;
    if (l->size == 0)
        vx_fatal(exit_code::delete_from_empty_list, "No Elemems to delete from list -> PANIC");
    list_elem* following = e->next;
    e->prev->next = following;
    following->prev = e->prev;
    std::free(e);
    --l->size;
    l->act = following;
    return following;
}

list_elem* find_elem_entry_in_list(list* l, intptr_t key)
{
    for (list_elem* e = l->head->next; e != l->tail; e = e->next) {
        if (e->entry == key) {
            l->act = e;
            return e;
        }
    }
    return nullptr;
}

void reset_list(list* l)
{
    if (l != nullptr)
        l->act = l->head;
}

list_elem* act_list_elem(list* l)
{
    return l->act;
}

list_elem* next_list_elem(list* l)
{
    if (l == nullptr || l->act == l->tail || l->act->next == l->tail)
        return nullptr;
    l->act = l->act->next;
    return l->act;
}

intptr_t next_list_elem_entry(list* l)
{
    list_elem* e = next_list_elem(l);
    return e == nullptr ? 0 : e->entry;
}

int list_size(const list* l)
{
    return l == nullptr ? 0 : l->size;
}

void delete_list(list* l)
{
    if (l == nullptr)
        return;
    list_elem* e = l->head;
    while (e != nullptr) {
        list_elem* next = e->next;
        std::free(e);
        e = next;
    }
    std::free(l);
}

void erase_list(list* l)
{
    if (l == nullptr)
        return;
    for (list_elem* e = l->head->next; e != l->tail; e = e->next)
        std::free(reinterpret_cast<void*>(e->entry));
    delete_list(l);
}

list* delete_list_on_empty(list* l)
{
    if (l->size != 0)
        return l;
    delete_list(l);
    return nullptr;
}
