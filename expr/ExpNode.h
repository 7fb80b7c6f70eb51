#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ExpNodeKind.h"

class ExpressionTree;

// One node of a parsed expression, seen through its tree: a small value
// that names a tree and a place in it. The accessors answer as the nodes of
// a pointer tree would (an absent child is a node for which IsNull holds);
// the tree itself is one array (see ExpressionTree), whose layout the node
// only reads.
class ExpNode {
  public:
    ExpNode() = default;
    ExpNode(const ExpressionTree* tree, std::uint32_t index) : m_tree(tree), m_index(index) {}

    bool IsNull() const { return m_tree == nullptr; }
    explicit operator bool() const { return !IsNull(); }
    bool operator==(const ExpNode&) const = default;

    ExpNodeKind Kind() const;
    bool IsLeaf() const { return Kind() == ExpNodeKind::Number || Kind() == ExpNodeKind::Variable; }
    bool IsNumber() const { return Kind() == ExpNodeKind::Number; }
    bool IsVariable() const { return Kind() == ExpNodeKind::Variable; }
    bool IsInfix() const { return Kind() == ExpNodeKind::Infix; }
    bool IsSign() const { return Kind() == ExpNodeKind::Sign; }
    bool IsParenthesis() const { return Kind() == ExpNodeKind::Parenthesis; }
    bool IsCall() const { return Kind() == ExpNodeKind::Call; }

    // ' ' for a leaf; + - * / ^ for an infix operator or a sign; '(' for
    // parentheses and calls.
    char GetOp() const;
    // A leaf's text: the literal as written ("0.5" for .5, "10" for the base
    // of an exponent) or the variable's name; empty on other nodes.
    std::string_view GetText() const;
    // A call's name; empty on other nodes.
    std::string_view GetName() const;
    // A number's value.
    double GetValue() const;
    // The left operand of an infix operator, the content of parentheses.
    ExpNode GetLeft() const;
    // The right operand of an infix operator, the operand of a sign.
    ExpNode GetRight() const;
    // A call's arguments in source order; none for other nodes.
    std::vector<ExpNode> GetArgs() const;
    // The same without a list: a call's argument count, its last argument,
    // and from each argument the one before it (null before the first).
    std::uint32_t ArgCount() const;
    ExpNode LastArg() const;
    ExpNode PreviousArg(const ExpNode& call) const;

    // Nodes in this subtree, the node included.
    std::uint32_t SubtreeSize() const;
    std::uint32_t Index() const { return m_index; }
    const ExpressionTree* Tree() const { return m_tree; }

  private:
    const ExpressionTree* m_tree = nullptr;
    std::uint32_t m_index = 0;
};

// The root of `tree` (its last node), or a null node for an empty tree.
ExpNode RootNode(const ExpressionTree& tree);
// The node at `index` of `tree`'s array.
inline ExpNode NodeAt(const ExpressionTree& tree, std::uint32_t index) {
    return ExpNode(&tree, index);
}
