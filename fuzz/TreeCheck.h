#pragma once

#include <cstddef>

class CExpNode;

namespace Fuzz {

// Walks a parsed tree without recursion and checks that every node has the
// shape its kind promises (a leaf has text and no children, an infix
// operator two operands, a sign one on the right, a parenthesis one on the
// left, a call its name and at least one argument). Returns the node count.
std::size_t CheckTree(const CExpNode& root);

// Whether two trees are the same node for node.
bool SameTree(const CExpNode& a, const CExpNode& b);

}  // namespace Fuzz
