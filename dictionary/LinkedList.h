#pragma once

#include <array>
#include <cstddef>
#include <iostream>
#include <new>
#include <string>
#include <string_view>

// One stored word; owned by the bucket that links it.
struct ListNode {
    std::string word;
    ListNode* next;
};

// The memory of one bucket's nodes: blocks that double in size, handed out
// by bumping a pointer. A heap allocation and free per word would cost more
// than the rest of loading and teardown together, and std::pmr's pools are
// missing from libc++ before 16 and from Apple's before macOS 14.
class NodeArena {
public:
    NodeArena() = default;
    ~NodeArena() { release(); }
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    // Raw room for one node, valid until release().
    void* allocate() {
        if (next == end) {
            grow();
        }
        return next++;
    }
    // Frees every block; the nodes in them must be destroyed already.
    void release();

private:
    struct alignas(ListNode) Slot {
        std::array<unsigned char, sizeof(ListNode)> bytes;
    };
    // Heads each block, so that the blocks form a list the arena frees in a loop.
    struct alignas(ListNode) Block {
        Block* previous;
    };

    // Enough for the nodes of a small bucket; allocated at the first insert.
    static constexpr std::size_t kFirstBlockBytes = std::size_t{64} * 1024;

    void grow();

    Slot* next = nullptr;
    Slot* end = nullptr;
    Block* newest = nullptr;
    std::size_t newestBytes = 0;
};

// A singly linked bucket of words, newest first. Owns its nodes.
class LinkedList {
public:
    LinkedList() = default;
    ~LinkedList();
    LinkedList(const LinkedList&) = delete;
    LinkedList& operator=(const LinkedList&) = delete;

    // Adds a node at the head; an equal word already stored is kept too.
    // Inline: it runs once per line of the word list.
    void insert(std::string_view word) { head = new (nodes.allocate()) ListNode{std::string(word), head}; }
    bool contains(std::string_view word) const;
    // True when some stored word begins with `word` (a word begins with itself).
    bool containsPrefix(std::string_view word) const;

    // Takes out the first node holding `word`. Only a node found past the
    // head is reported, with "Ture." and an end of line: spelled so on
    // purpose, as the program's users know its output.
    bool remove(std::string_view word, std::ostream& out = std::cout);
    // Writes every word followed by " -> ", then "X " and an end of line.
    void print(std::ostream& out = std::cout) const;
    void clear();

private:
    friend struct TestPeer;

    // In the header, so that it is inlined into the teardown's loop even
    // where the library is built as position-independent code.
    static void destroy(ListNode* node) { node->~ListNode(); }

    // A removed node's memory is given back when the bucket is emptied or destroyed.
    NodeArena nodes;
    ListNode* head = nullptr;
};
