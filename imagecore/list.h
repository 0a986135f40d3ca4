#pragma once

#include <cstdint>

#include "imagecore/vximage_export.h"

// Doubly linked list with head and tail sentinels and a cursor. Entries are
// pointer-sized so that region lists can hold node pointers.
struct list_elem {
    list_elem* next;
    list_elem* prev;
    intptr_t entry;
};

struct list {
    list_elem* head;
    list_elem* tail;
    list_elem* act;
    int size;
};

VXIMAGE_EXPORT list_elem* init_list_elem(intptr_t entry);
VXIMAGE_EXPORT list* init_list();
VXIMAGE_EXPORT void add_list_node(list* l, list_elem* e);
// Unlinks and frees e and returns the element that followed it (the cursor
// moves there). A sentinel gives null and changes nothing, also on an empty
// list; any other element given to an empty list ends the process (42).
VXIMAGE_EXPORT list_elem* delete_elem_in_list(list* l, list_elem* e);
VXIMAGE_EXPORT list_elem* find_elem_entry_in_list(list* l, intptr_t key);
VXIMAGE_EXPORT void reset_list(list* l);
VXIMAGE_EXPORT list_elem* act_list_elem(list* l);
VXIMAGE_EXPORT list_elem* next_list_elem(list* l);
VXIMAGE_EXPORT intptr_t next_list_elem_entry(list* l);
VXIMAGE_EXPORT int list_size(const list* l);
VXIMAGE_EXPORT void delete_list(list* l);
// Frees every entry as a heap block (free) along with the list.
VXIMAGE_EXPORT void erase_list(list* l);
VXIMAGE_EXPORT list* delete_list_on_empty(list* l);
