#include "WordTree.h"

#include <ostream>

// The tree holds what one grid spells, a few thousand words at the very most,
// so recursion depth stays small even for a degenerate shape.
namespace {

void writeWord(const TreeNode* node, std::ostream& out) {
    out << node->word << " - ";
}

void inOrder(const TreeNode* node, std::ostream& out) {
    if (node != nullptr) {
        inOrder(node->left, out);
        writeWord(node, out);
        inOrder(node->right, out);
    }
}

void preOrder(const TreeNode* node, std::ostream& out) {
    if (node != nullptr) {
        writeWord(node, out);
        preOrder(node->left, out);
        preOrder(node->right, out);
    }
}

void postOrder(const TreeNode* node, std::ostream& out) {
    if (node != nullptr) {
        postOrder(node->left, out);
        postOrder(node->right, out);
        writeWord(node, out);
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

void WordTree::printInOrder(std::ostream& out) const {
    inOrder(root, out);
}

void WordTree::printPreOrder(std::ostream& out) const {
    preOrder(root, out);
}

void WordTree::printPostOrder(std::ostream& out) const {
    postOrder(root, out);
}

void WordTree::destroy() {
    destroyNodes(root);
    root = nullptr;
}
