#pragma once

// Pre-order walk over a region tree that enters a node's sons only when the
// visitor asks for it. Iterative, since trees read from files may be as deep
// as they have nodes.

#include <vector>

#include "analyse/tree_walk.h"

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
        if (!visit(node) || node->sons == nullptr)
            continue;
        for (list_elem* e = node->sons->tail->prev; e != node->sons->head; e = e->prev)
            stack.push_back(node_of(e));
    }
}

// Calls visit(son) for every son of the node, in list order.
template <class Visit>
void for_each_son(const tregionnode* node, Visit visit)
{
    if (node->sons == nullptr)
        return;
    for (list_elem* e = node->sons->head->next; e != node->sons->tail; e = e->next)
        visit(node_of(e));
}
