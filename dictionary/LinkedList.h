#pragma once

#include <cstddef>
#include <memory_resource>
#include <string>
#include <string_view>

// One stored word; owned by the bucket that links it.
struct ListNode {
    std::string word;
    ListNode* next;
};

// A singly linked bucket of words, newest first. Owns its nodes.
class LinkedList {
public:
    LinkedList() = default;
    ~LinkedList();
    LinkedList(const LinkedList&) = delete;
    LinkedList& operator=(const LinkedList&) = delete;

    // Adds a node at the head; an equal word already stored is kept too.
    void insert(std::string_view word);
    bool contains(const std::string& word) const;
    // True when some stored word begins with `word` (a word begins with itself).
    bool containsPrefix(const std::string& word) const;

    // Takes out the first node holding `word`. Only a node found past the
    // head is reported, with "Ture." and an end of line.
    bool remove(const std::string& word);
    // Writes every word followed by " -> ", then "X " and an end of line.
    void print() const;
    void clear();

private:
    friend struct TestPeer;

    // Enough for the nodes of a small bucket; allocated at the first insert.
    static constexpr std::size_t kFirstPoolBlock = std::size_t{64} * 1024;

    void destroy(ListNode* node);

    // The bucket's nodes come from its own pool, in blocks that grow by half
    // each time: a heap allocation and free per word cost more than the rest
    // of loading and teardown together. A removed node's memory is given
    // back when the bucket is emptied or destroyed.
    std::pmr::monotonic_buffer_resource pool{kFirstPoolBlock};
    ListNode* head = nullptr;
};
