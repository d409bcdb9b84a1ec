#include "WordTree.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/TestPeer.h"

namespace {

struct Listings {
    std::string in, pre, post;
};

Listings listings(const WordTree& tree) {
    std::ostringstream in;
    std::ostringstream pre;
    std::ostringstream post;
    tree.printInOrder(in);
    tree.printPreOrder(pre);
    tree.printPostOrder(post);
    return {in.str(), pre.str(), post.str()};
}

}  // namespace

TEST(WordTree, ShapeFollowsArrivalAndKeepsNoRepeats) {
    WordTree tree;
    for (const char* word : {"tea", "eat", "ate", "tea", "eat"}) {
        tree.insert(word);
    }
    // Each word once; pre-order and in-order together fix the shape: tea at
    // the root, eat its left child, ate eat's.
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
    EXPECT_EQ(listings(tree).pre, "new - ");
}
