#pragma once

// The named walks over region trees and the range over a node's sons: code
// that visits several nodes of a tree goes through these, never through a
// son list's sentinels. Trees read from files may be as deep as they have
// nodes, so no walk recurses.
//
//   sons_of(node)                    the sons, in list order (range-for)
//   walk_preorder                    root to leaves, a node before its sons
//   walk_preorder_pruned             the same, sons entered on request
//   walk_preorder_handing_down       the same, each son given a value
//   walk_breadth_first               level by level, root first
//   walk_pre_post                    depth first, before and after the sons

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>
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

inline int son_count(const tregionnode* node)
{
    return node->sons != nullptr ? node->sons->size : 0;
}

// The first and the last son, or null for a leaf.
inline tregionnode* first_son(const tregionnode* node)
{
    return son_count(node) > 0 ? node_of(node->sons->head->next) : nullptr;
}

inline tregionnode* last_son(const tregionnode* node)
{
    return son_count(node) > 0 ? node_of(node->sons->tail->prev) : nullptr;
}

// The sons of a node in list order. The range reads the list as it goes:
// the loop body must not remove the son it is at.
class son_range {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = tregionnode*;
        using difference_type = std::ptrdiff_t;
        using pointer = tregionnode* const*;
        using reference = tregionnode*;

        iterator() = default;
        explicit iterator(const list_elem* e) : at_(e) {}

        tregionnode* operator*() const { return node_of(at_); }
        iterator& operator++()
        {
            at_ = at_->next;
            return *this;
        }
        iterator operator++(int)
        {
            iterator before = *this;
            at_ = at_->next;
            return before;
        }
        bool operator==(const iterator& other) const { return at_ == other.at_; }
        bool operator!=(const iterator& other) const { return at_ != other.at_; }

    private:
        const list_elem* at_ = nullptr;
    };

    explicit son_range(const list* sons)
        : begin_(sons != nullptr ? sons->head->next : nullptr),
          end_(sons != nullptr ? sons->tail : nullptr)
    {}

    iterator begin() const { return begin_; }
    iterator end() const { return end_; }

private:
    iterator begin_;
    iterator end_;
};

inline son_range sons_of(const tregionnode* node)
{
    return son_range(node != nullptr ? node->sons : nullptr);
}

namespace tree_walk_detail {

// Pushes the node's sons so that they come off the stack in list order.
inline void push_sons_reversed(std::vector<tregionnode*>& stack, const tregionnode* node)
{
    const size_t first = stack.size();
    for (tregionnode* son : sons_of(node))
        stack.push_back(son);
    std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(first), stack.end());
}

// The state of a walk_pre_post without state of its own.
struct no_state {
    no_state for_son() const { return {}; }
};

}  // namespace tree_walk_detail

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
        tree_walk_detail::push_sons_reversed(stack, node);
        visit(node);
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
            tree_walk_detail::push_sons_reversed(stack, node);
    }
}

// Pre-order walk in which every node hands values down to the sons it
// chooses: visit(node, value, hand) calls hand(son, son_value) for each son
// to walk into. The walk then visits those sons, with their values, in the
// order they were handed, each son's subtree before the next son.
template <class Value, class Visit>
void walk_preorder_handing_down(tregionnode* root, Value value, Visit visit)
{
    if (root == nullptr)
        return;
    using entry = std::pair<tregionnode*, Value>;
    std::vector<entry> stack{{root, std::move(value)}};
    std::vector<entry> handed;
    const auto hand = [&handed](tregionnode* son, Value son_value) {
        handed.emplace_back(son, std::move(son_value));
    };
    while (!stack.empty()) {
        entry top = std::move(stack.back());
        stack.pop_back();
        handed.clear();
        visit(top.first, top.second, hand);
        stack.insert(stack.end(), std::make_move_iterator(handed.rbegin()),
                     std::make_move_iterator(handed.rend()));
    }
}

// Visits the subtree in breadth-first order, root first, with each node's
// place in that order.
template <class Visit>
void walk_breadth_first(tregionnode* root, Visit visit)
{
    if (root == nullptr)
        return;
    std::vector<tregionnode*> order{root};
    for (size_t k = 0; k < order.size(); ++k) {
        tregionnode* node = order[k];
        for (tregionnode* son : sons_of(node))
            order.push_back(son);
        visit(node, static_cast<int>(k));
    }
}

// Depth-first walk, sons in list order, with a state for every node on the
// way down: pre(node, state) runs before the node's sons, a son's state
// starting as state.for_son() of its father's state when the walk enters
// that son; post(node, state, father_state) runs after the sons
// (father_state is null for the walk's root). A node's sons are read after
// pre has run.
template <class State, class Pre, class Post>
void walk_pre_post(tregionnode* root, State state, Pre pre, Post post)
{
    if (root == nullptr)
        return;
    struct frame {
        tregionnode* node;
        son_range::iterator next;  // next son to enter
        son_range::iterator end;
        State state;
    };
    std::vector<frame> stack;
    const auto enter = [&stack, &pre](tregionnode* node, State s) {
        pre(node, s);
        const son_range sons = sons_of(node);
        stack.push_back({node, sons.begin(), sons.end(), std::move(s)});
    };
    enter(root, std::move(state));
    while (!stack.empty()) {
        frame& top = stack.back();
        if (top.next != top.end) {
            tregionnode* son = *top.next++;
            enter(son, top.state.for_son());
        } else {
            frame done = std::move(top);
            stack.pop_back();
            post(done.node, done.state, stack.empty() ? nullptr : &stack.back().state);
        }
    }
}

// Depth-first walk, sons in list order: pre(node) runs before the node's
// sons, post(node) after them.
template <class Pre, class Post>
void walk_pre_post(tregionnode* root, Pre pre, Post post)
{
    using tree_walk_detail::no_state;
    walk_pre_post(
        root, no_state{}, [&pre](tregionnode* node, no_state&) { pre(node); },
        [&post](tregionnode* node, no_state&, no_state*) { post(node); });
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
