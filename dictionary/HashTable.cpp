#include "HashTable.h"

#include <cctype>
#include <iostream>

int HashTable::hash(std::string_view word) {
    if (word.empty()) {
        return -1;
    }
    // tolower takes an unsigned char value; a raw negative char (UTF-8,
    // Latin-1) would be undefined behaviour.
    return std::tolower(static_cast<unsigned char>(word[0])) - 'a';
}

const LinkedList* HashTable::bucketOf(std::string_view word) const {
    const int index = hash(word);
    if (index < 0 || index >= kBuckets) {
        return nullptr;
    }
    return &lists[static_cast<std::size_t>(index)];
}

LinkedList* HashTable::bucketOf(std::string_view word) {
    return const_cast<LinkedList*>(static_cast<const HashTable*>(this)->bucketOf(word));
}

void HashTable::insert(std::string_view word) {
    if (LinkedList* list = bucketOf(word)) {
        list->insert(word);
    }
}

bool HashTable::contains(const std::string& word) const {
    const LinkedList* list = bucketOf(word);
    return list != nullptr && list->contains(word);
}

bool HashTable::containsPrefix(const std::string& word) const {
    const LinkedList* list = bucketOf(word);
    return list != nullptr && list->containsPrefix(word);
}

bool HashTable::remove(const std::string& word) {
    LinkedList* list = bucketOf(word);
    const bool removed = list != nullptr && list->remove(word);
    std::cout << (removed ? "Ture." : "False.");
    return removed;
}

void HashTable::print() const {
    for (const LinkedList& list : lists) {
        list.print();
    }
}

void HashTable::clear() {
    for (LinkedList& list : lists) {
        list.clear();
    }
}
