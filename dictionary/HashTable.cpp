#include "HashTable.h"

#include <cctype>
#include <ostream>

int HashTable::hash(std::string_view word) {
    if (word.empty()) {
        return -1;
    }
    // tolower takes an unsigned char value; a raw negative char (UTF-8,
    // Latin-1) would be undefined behaviour.
    return std::tolower(static_cast<unsigned char>(word[0])) - 'a';
}

void HashTable::insert(std::string_view word) {
    if (LinkedList* list = bucketOf(*this, word)) {
        list->insert(word);
    }
}

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
