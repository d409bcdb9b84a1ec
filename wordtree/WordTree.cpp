#include "WordTree.h"

#include <iostream>

// The tree holds what one grid spells, a few thousand words at the very most,
// so recursion depth stays small even for a degenerate shape.
namespace {

void writeWord(const TreeNode* node) {
    std::cout << node->word << " - ";
}

void inOrder(const TreeNode* node) {
    if (node != nullptr) {
        inOrder(node->left);
        writeWord(node);
        inOrder(node->right);
    }
}

void preOrder(const TreeNode* node) {
    if (node != nullptr) {
        writeWord(node);
        preOrder(node->left);
        preOrder(node->right);
    }
}

void postOrder(const TreeNode* node) {
    if (node != nullptr) {
        postOrder(node->left);
        postOrder(node->right);
        writeWord(node);
    }
}

void destroyNodes(TreeNode* node) {
    if (node != nullptr) {
        destroyNodes(node->left);
        destroyNodes(node->right);
        delete node;
    }
}

}  // namespace

WordTree::~WordTree() {
    destroy();
}

void WordTree::insert(const std::string& word) {
    TreeNode** place = &root;
    while (*place != nullptr) {
        const int order = (*place)->word.compare(word);
        if (order == 0) {
            return;
        }
        place = order > 0 ? &(*place)->left : &(*place)->right;
    }
    *place = new TreeNode{word, nullptr, nullptr};
}

void WordTree::printInOrder() const {
    inOrder(root);
}

void WordTree::printPreOrder() const {
    preOrder(root);
}

void WordTree::printPostOrder() const {
    postOrder(root);
}

void WordTree::destroy() {
    destroyNodes(root);
    root = nullptr;
}
