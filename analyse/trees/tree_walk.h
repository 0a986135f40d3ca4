#pragma once

// Iterative walks over region trees. Trees read from files may be as deep
// as they have nodes, so no walk recurses.

#include <vector>

#include "analyse/trees/region_types.h"
#include "imagecore/list.h"

inline tregionnode* node_of(const list_elem* e)
{
    return reinterpret_cast<tregionnode*>(e->entry);
}

inline bool is_leaf(const tregionnode* node)
{
    return node->sons == nullptr || node->sons->size == 0;
}

// Pushes the node's sons so that they come off the stack in list order.
inline void push_sons_reversed(std::vector<tregionnode*>& stack, const tregionnode* node)
{
    if (node->sons == nullptr)
        return;
    for (list_elem* e = node->sons->tail->prev; e != node->sons->head; e = e->prev)
        stack.push_back(node_of(e));
}

// Visits the subtree in depth-first pre-order, sons in list order. A node's
// sons are collected before it is visited, so `visit` may free the node or
// give a leaf new sons (which this walk then does not enter).
template <class Visit>
void walk_preorder(tregionnode* root, Visit visit)
{
    if (root == nullptr)
        return;
    std::vector<tregionnode*> stack{root};
    while (!stack.empty()) {
        tregionnode* node = stack.back();
        stack.pop_back();
        push_sons_reversed(stack, node);
        visit(node);
    }
}

// Visits the subtree in breadth-first order, root first.
template <class Visit>
void walk_breadth_first(tregionnode* root, Visit visit)
{
    if (root == nullptr)
        return;
    std::vector<tregionnode*> order{root};
    for (size_t k = 0; k < order.size(); ++k) {
        tregionnode* node = order[k];
        if (node->sons != nullptr)
            for (list_elem* e = node->sons->head->next; e != node->sons->tail; e = e->next)
                order.push_back(node_of(e));
        visit(node, static_cast<int>(k));
    }
}

// Pre-order walk that enters a node's sons only when the visitor asks for it:
// visit(node) returns true to walk on into the node's sons (in list order).
// A visitor that returns false may release the node: the walk touches it no
// more.
template <class Visit>
void walk_preorder_pruned(tregionnode* root, Visit visit)
{
    if (root == nullptr)
        return;
    std::vector<tregionnode*> stack{root};
    while (!stack.empty()) {
        tregionnode* node = stack.back();
        stack.pop_back();
        if (visit(node))
            push_sons_reversed(stack, node);
    }
}

// Calls visit(son) for every son of the node, in list order.
template <class Visit>
void for_each_son(const tregionnode* node, Visit visit)
{
    if (node == nullptr || node->sons == nullptr)
        return;
    for (list_elem* e = node->sons->head->next; e != node->sons->tail; e = e->next)
        visit(node_of(e));
}

// Visits the node and then its fathers, nearest first, up to the root or
// until visit(node) returns false.
template <class Visit>
void walk_to_root(tregionnode* node, Visit visit)
{
    for (; node != nullptr; node = node->father)
        if (!visit(node))
            return;
}
