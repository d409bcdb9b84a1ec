#pragma once

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

    void printInOrder() const;
    void printPreOrder() const;
    void printPostOrder() const;
    // Deletes every node; the tree is empty and usable afterwards.
    void destroy();

private:
    friend struct TestPeer;

    TreeNode* root = nullptr;
};
