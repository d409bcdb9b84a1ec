#include "HashTable.h"

#include <ostream>

bool HashTable::contains(std::string_view word) const {
    const LinkedList* list = bucketOf(*this, word);
    return list != nullptr && list->contains(word);
}

bool HashTable::containsPrefix(std::string_view word) const {
    const LinkedList* list = bucketOf(*this, word);
    return list != nullptr && list->containsPrefix(word);
}

bool HashTable::remove(std::string_view word, std::ostream& out) {
    LinkedList* list = bucketOf(*this, word);
    const bool removed = list != nullptr && list->remove(word, out);
    // "Ture." as the program has always written it, which its users know and
    // may match on: not a typo to correct.
    out << (removed ? "Ture." : "False.");
    return removed;
}

void HashTable::print(std::ostream& out) const {
    for (const LinkedList& list : lists) {
        list.print(out);
    }
}

void HashTable::clear() {
    for (LinkedList& list : lists) {
        list.clear();
    }
}
