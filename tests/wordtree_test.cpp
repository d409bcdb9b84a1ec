#include "WordTree.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TestSupport.h"

namespace {

struct Listings {
    std::string in, pre, post;
};

Listings listings(const WordTree& tree) {
    CapturedCout out;
    tree.printInOrder();
    std::string in = out.take();
    tree.printPreOrder();
    std::string pre = out.take();
    tree.printPostOrder();
    return {in, pre, out.take()};
}

}  // namespace

TEST(WordTree, ShapeFollowsArrivalAndKeepsNoRepeats) {
    WordTree tree;
    for (const char* word : {"tea", "eat", "ate", "tea", "eat"}) {
        tree.insert(word);
    }
    const TreeNode* root = tree.top();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->word, "tea");
    EXPECT_EQ(root->right, nullptr);
    ASSERT_NE(root->left, nullptr);
    EXPECT_EQ(root->left->word, "eat");
    EXPECT_EQ(root->left->right, nullptr);
    ASSERT_NE(root->left->left, nullptr);
    EXPECT_EQ(root->left->left->word, "ate");
    EXPECT_EQ(root->left->left->left, nullptr);
    EXPECT_EQ(root->left->left->right, nullptr);

    const Listings out = listings(tree);
    EXPECT_EQ(out.in, "ate - eat - tea - ");
    EXPECT_EQ(out.pre, "tea - eat - ate - ");
    EXPECT_EQ(out.post, "ate - eat - tea - ");
}

TEST(WordTree, ListsInByteOrder) {
    WordTree tree;
    for (const char* word : {"team", "tea", "te", "teams", "Zed", "apple", "\xc3\xa9t\xc3\xa9", "b"}) {
        tree.insert(word);
    }
    EXPECT_EQ(listings(tree).in, "Zed - apple - b - te - tea - team - teams - \xc3\xa9t\xc3\xa9 - ");
}

TEST(WordTree, EmptyAndDestroyed) {
    WordTree tree;
    const Listings empty = listings(tree);
    EXPECT_EQ(empty.in + empty.pre + empty.post, "");
    tree.destroy();
    EXPECT_EQ(tree.top(), nullptr);

    for (const char* word : {"m", "c", "x", "a", "d", "y"}) {
        tree.insert(word);
    }
    tree.destroy();
    EXPECT_EQ(tree.top(), nullptr);
    const Listings destroyed = listings(tree);
    EXPECT_EQ(destroyed.in + destroyed.pre + destroyed.post, "");

    tree.insert("new");
    ASSERT_NE(tree.top(), nullptr);
    EXPECT_EQ(tree.top()->word, "new");
    EXPECT_EQ(listings(tree).in, "new - ");
}
