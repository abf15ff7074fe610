#pragma once
#include "engine/core/PoolAllocator.h"

#include <cassert>
#include <cstddef>
#include <iterator>
#include <new>
#include <type_traits>
#include <utility>

namespace Engine {

// A doubly linked list whose nodes, the sentinel included, are blocks of the
// list's own pool (4096-byte pages, one node per block). A new list therefore
// already holds one page and one live block. The match recorder keeps its
// ring of frames and its playback in two of these.
template <class T>
class PoolList {
    struct Links {
        Links* next;
        Links* prev;
    };
    struct Node : Links {
        T value;
    };

    template <class Value>
    class Iterator {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = Value*;
        using reference = Value&;

        Iterator() = default;
        explicit Iterator(Links* at) : mAt(at) {}
        // A mutable iterator converts to a const one.
        template <class Other>
            requires(std::is_const_v<Value> && std::is_same_v<Other, T>)
        Iterator(const Iterator<Other>& other) : mAt(other.mAt)
        {
        }

        reference operator*() const { return static_cast<Node*>(mAt)->value; }
        pointer operator->() const { return &static_cast<Node*>(mAt)->value; }
        Iterator& operator++() { mAt = mAt->next; return *this; }
        Iterator operator++(int) { Iterator old = *this; ++*this; return old; }
        Iterator& operator--() { mAt = mAt->prev; return *this; }
        Iterator operator--(int) { Iterator old = *this; --*this; return old; }
        bool operator==(const Iterator&) const = default;

    private:
        friend class PoolList;
        template <class>
        friend class Iterator;
        Links* mAt = nullptr;
    };

public:
    using value_type = T;
    using size_type = std::size_t;
    using iterator = Iterator<T>;
    using const_iterator = Iterator<const T>;
    using reverse_iterator = std::reverse_iterator<iterator>;
    using const_reverse_iterator = std::reverse_iterator<const_iterator>;

    static constexpr std::uint64_t kPageSize = 4096;

    PoolList() : mPool(PoolConfig()) { TakeSentinel(); }

    // Each copy has its own pool.
    PoolList(const PoolList& other) : PoolList()
    {
        for (const T& value : other)
            push_back(value);
    }

    // Pools cannot move between lists, so assignment copies node by node.
    PoolList& operator=(const PoolList& other)
    {
        if (this != &other) {
            clear();
            for (const T& value : other)
                push_back(value);
        }
        return *this;
    }

    ~PoolList()
    {
        DestroyElements();
        mPool.FreeAll();
    }

    void push_back(const T& value) { LinkBefore(mSentinel, MakeNode(value)); }
    void push_back(T&& value) { LinkBefore(mSentinel, MakeNode(std::move(value))); }
    void push_front(const T& value) { LinkBefore(mSentinel->next, MakeNode(value)); }
    void push_front(T&& value) { LinkBefore(mSentinel->next, MakeNode(std::move(value))); }

    // The list must not be empty.
    void pop_front() { assert(!empty()); erase(begin()); }
    void pop_back() { assert(!empty()); erase(iterator(mSentinel->prev)); }
    T& front() { assert(!empty()); return *begin(); }
    const T& front() const { assert(!empty()); return *begin(); }
    T& back() { assert(!empty()); return *iterator(mSentinel->prev); }
    const T& back() const { assert(!empty()); return *const_iterator(mSentinel->prev); }

    // Removes one element; returns the iterator after it.
    iterator erase(const_iterator at)
    {
        Links* links = at.mAt;
        assert(links != mSentinel);
        Links* next = links->next;
        links->prev->next = next;
        next->prev = links->prev;
        DestroyNode(static_cast<Node*>(links));
        --mSize;
        return iterator(next);
    }

    // Destroys every element and gives every page back; the sentinel then
    // starts a fresh page.
    void clear()
    {
        DestroyElements();
        mPool.FreeAll();
        TakeSentinel();
    }

    size_type size() const { return mSize; }
    bool empty() const { return mSize == 0; }

    iterator begin() { return iterator(mSentinel->next); }
    iterator end() { return iterator(mSentinel); }
    const_iterator begin() const { return const_iterator(mSentinel->next); }
    const_iterator end() const { return const_iterator(mSentinel); }
    reverse_iterator rbegin() { return reverse_iterator(end()); }
    reverse_iterator rend() { return reverse_iterator(begin()); }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

    const PoolAllocator& Pool() const { return mPool; }

private:
    static PoolAllocator::Config PoolConfig()
    {
        return PoolAllocator::Config{.pageSize = kPageSize, .blockSize = sizeof(Node), .maxBlocks = 0, .powerOfTwo = false};
    }

    void TakeSentinel()
    {
        mSentinel = ::new (mPool.Allocate()) Links{};
        mSentinel->next = mSentinel;
        mSentinel->prev = mSentinel;
        mSize = 0;
    }

    template <class Value>
    Node* MakeNode(Value&& value)
    {
        static_assert(alignof(Node) <= alignof(std::max_align_t), "pool blocks are not aligned beyond max_align_t");
        void* block = mPool.Allocate();
        try {
            return ::new (block) Node{{nullptr, nullptr}, std::forward<Value>(value)};
        } catch (...) {
            mPool.Free(block);
            throw;
        }
    }

    void DestroyNode(Node* node)
    {
        node->~Node();
        mPool.Free(node);
    }

    void LinkBefore(Links* at, Node* node)
    {
        node->next = at;
        node->prev = at->prev;
        at->prev->next = node;
        at->prev = node;
        ++mSize;
    }

    void DestroyElements()
    {
        for (Links* at = mSentinel->next; at != mSentinel;) {
            Links* next = at->next;
            static_cast<Node*>(at)->~Node();
            at = next;
        }
    }

    PoolAllocator mPool;
    Links* mSentinel = nullptr;
    std::uint64_t mSize = 0;
};

} // namespace Engine
