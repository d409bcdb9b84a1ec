#include "LinkedList.h"

#include <new>
#include <ostream>

namespace {

// Byte by byte in place: queries are a few letters long and most stored words
// differ from them within the first two, so this beats a memcmp call.
bool startsWith(const std::string& word, std::string_view prefix) {
    if (word.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (word[i] != prefix[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

void NodeArena::grow() {
    newestBytes = newest == nullptr ? kFirstBlockBytes : newestBytes * 2;
    newest = new (::operator new(newestBytes)) Block{newest};
    next = reinterpret_cast<Slot*>(newest + 1);
    end = next + (newestBytes - sizeof(Block)) / sizeof(Slot);
}

void NodeArena::release() {
    while (newest != nullptr) {
        Block* previous = newest->previous;
        ::operator delete(newest);
        newest = previous;
    }
    next = nullptr;
    end = nullptr;
}

LinkedList::~LinkedList() {
    clear();
}

bool LinkedList::contains(std::string_view word) const {
    for (const ListNode* node = head; node != nullptr; node = node->next) {
        if (node->word.size() == word.size() && startsWith(node->word, word)) {  // equal, compared alike
            return true;
        }
    }
    return false;
}

bool LinkedList::containsPrefix(std::string_view word) const {
    for (const ListNode* node = head; node != nullptr; node = node->next) {
        // No temporary string per node: this is the search's hottest path.
        if (startsWith(node->word, word)) {
            return true;
        }
    }
    return false;
}

bool LinkedList::remove(std::string_view word, std::ostream& out) {
    if (head == nullptr) {
        return false;
    }
    if (head->word == word) {
        ListNode* old = head;
        head = head->next;
        destroy(old);
        return true;
    }
    for (ListNode* before = head; before->next != nullptr; before = before->next) {
        ListNode* node = before->next;
        if (node->word == word) {
            before->next = node->next;
            destroy(node);
            // "Ture.": the program's output as its users know it, kept so.
            out << "Ture." << '\n' << std::flush;
            return true;
        }
    }
    return false;
}

void LinkedList::print(std::ostream& out) const {
    for (const ListNode* node = head; node != nullptr; node = node->next) {
        out << node->word << " -> ";
    }
    out << "X " << '\n' << std::flush;
}

void LinkedList::clear() {
    // A loop, not recursion: a bucket may hold a very long list.
    while (head != nullptr) {
        ListNode* old = head;
        head = head->next;
        destroy(old);
    }
    nodes.release();
}
