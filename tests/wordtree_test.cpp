#include "WordTree.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TestPeer.h"
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
    const TreeNode* root = TestPeer::root(tree);
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

TEST(WordTree, EmptyFullAndDestroyed) {
    WordTree tree;
    const Listings empty = listings(tree);
    EXPECT_EQ(empty.in + empty.pre + empty.post, "");
    tree.destroy();
    EXPECT_EQ(TestPeer::root(tree), nullptr);

    // Right children at two levels: each listing differs from the other two.
    for (const char* word : {"m", "c", "x", "a", "e", "team", "tea", "z"}) {
        tree.insert(word);
    }
    const Listings full = listings(tree);
    EXPECT_EQ(full.in, "a - c - e - m - tea - team - x - z - ");
    EXPECT_EQ(full.pre, "m - c - a - e - x - team - tea - z - ");
    EXPECT_EQ(full.post, "a - e - c - tea - team - z - x - m - ");
    tree.destroy();
    EXPECT_EQ(TestPeer::root(tree), nullptr);
    const Listings destroyed = listings(tree);
    EXPECT_EQ(destroyed.in + destroyed.pre + destroyed.post, "");

    tree.insert("new");
    ASSERT_NE(TestPeer::root(tree), nullptr);
    EXPECT_EQ(TestPeer::root(tree)->word, "new");
    EXPECT_EQ(listings(tree).in, "new - ");
}
