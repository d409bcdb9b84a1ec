#include "LinkedList.h"

#include <iostream>
#include <utility>

LinkedList::~LinkedList() {
    clear();
}

void LinkedList::insert(std::string word) {
    head = new ListNode{std::move(word), head};
}

bool LinkedList::contains(const std::string& word) const {
    for (const ListNode* node = head; node != nullptr; node = node->next) {
        if (node->word == word) {
            return true;
        }
    }
    return false;
}

bool LinkedList::containsPrefix(const std::string& word) const {
    for (const ListNode* node = head; node != nullptr; node = node->next) {
        // Compares the node's first word.size() bytes in place: no temporary
        // string on the search's hottest path. A shorter node word never matches.
        if (node->word.compare(0, word.size(), word) == 0) {
            return true;
        }
    }
    return false;
}

bool LinkedList::remove(const std::string& word) {
    if (head == nullptr) {
        return false;
    }
    if (head->word == word) {
        ListNode* old = head;
        head = head->next;
        delete old;
        return true;
    }
    for (ListNode* before = head; before->next != nullptr; before = before->next) {
        ListNode* node = before->next;
        if (node->word == word) {
            before->next = node->next;
            delete node;
            std::cout << "Ture." << std::endl;
            return true;
        }
    }
    return false;
}

void LinkedList::print() const {
    for (const ListNode* node = head; node != nullptr; node = node->next) {
        std::cout << node->word << " -> ";
    }
    std::cout << "X " << std::endl;
}

void LinkedList::clear() {
    // A loop, not recursion: a bucket may hold a very long list.
    while (head != nullptr) {
        ListNode* old = head;
        head = head->next;
        delete old;
    }
}
