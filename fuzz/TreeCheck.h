#pragma once

#include <cstddef>
#include <string>

class ExpressionTree;

namespace Fuzz {

// Checks that the tree is a well-formed post-order array: every node's
// subtree is exactly its children's subtrees, one after the other, and ends
// at the node; every node has the shape its kind promises (a leaf has text,
// an infix operator two operands, a sign and parentheses one, a call its
// name and at least one argument); the root's subtree is the whole array.
// Returns the node count.
std::size_t CheckTree(const ExpressionTree& tree);

// Whether two trees are the same node for node: kinds, operators, texts,
// values and shapes.
bool SameTree(const ExpressionTree& a, const ExpressionTree& b);

// The text of the tree as the parser reads it back into the same tree:
// parentheses where the tree has them, a number's exponent written with 'e'.
std::string PrintTree(const ExpressionTree& tree);

}  // namespace Fuzz
