#pragma once

#include <iostream>
#include <string>

// One found word; owned by the tree.
struct TreeNode {
    std::string word;
    TreeNode* left;
    TreeNode* right;
};

// The found words without repeats, as an unbalanced binary search tree in
// byte order. The listings write each word followed by " - ", no line end.
class WordTree {
public:
    WordTree() = default;
    ~WordTree();
    WordTree(const WordTree&) = delete;
    WordTree& operator=(const WordTree&) = delete;

    // Adds `word` unless the tree holds it already.
    void insert(const std::string& word);

    void printInOrder(std::ostream& out = std::cout) const;
    void printPreOrder(std::ostream& out = std::cout) const;
    void printPostOrder(std::ostream& out = std::cout) const;
    // Deletes every node; the tree is empty and usable afterwards.
    void destroy();

private:
    friend struct TestPeer;

    TreeNode* root = nullptr;
};
