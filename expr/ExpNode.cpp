#include "ExpNode.h"

#include <algorithm>

#include "ExpressionTree.h"

ExpNodeKind ExpNode::Kind() const {
    return ExpressionTree::KindOf(m_tree->TagAt(m_index));
}

char ExpNode::GetOp() const {
    return ExpressionTree::OpOf(m_tree->TagAt(m_index));
}

std::string_view ExpNode::GetText() const {
    return IsLeaf() ? m_tree->TextOf(m_index) : std::string_view();
}

std::string_view ExpNode::GetName() const {
    return IsCall() ? m_tree->TextOf(m_index) : std::string_view();
}

double ExpNode::GetValue() const {
    return IsNumber() ? m_tree->ValueOf(m_index) : 0.0;
}

ExpNode ExpNode::GetLeft() const {
    switch (Kind()) {
        case ExpNodeKind::Infix: {
            // The right operand's subtree stands between the left one and the node.
            const std::uint32_t right = m_index - 1;
            return ExpNode(m_tree, m_tree->SubtreeStart(right) - 1);
        }
        case ExpNodeKind::Parenthesis:
            return ExpNode(m_tree, m_index - 1);
        default:
            return {};
    }
}

ExpNode ExpNode::GetRight() const {
    if (Kind() == ExpNodeKind::Infix || Kind() == ExpNodeKind::Sign)
        return ExpNode(m_tree, m_index - 1);
    return {};
}

std::vector<ExpNode> ExpNode::GetArgs() const {
    std::vector<ExpNode> args;
    args.reserve(ArgCount());
    for (ExpNode arg = LastArg(); arg; arg = arg.PreviousArg(*this))
        args.push_back(arg);
    std::reverse(args.begin(), args.end());
    return args;
}

std::uint32_t ExpNode::ArgCount() const {
    return IsCall() ? m_tree->CallAt(m_index).argCount : 0;
}

ExpNode ExpNode::LastArg() const {
    return ArgCount() > 0 ? ExpNode(m_tree, m_index - 1) : ExpNode();
}

ExpNode ExpNode::PreviousArg(const ExpNode& call) const {
    // The arguments' subtrees stand one after the other right before the call.
    const std::uint32_t start = m_tree->SubtreeStart(m_index);
    if (start == call.m_tree->SubtreeStart(call.m_index))
        return {};
    return ExpNode(m_tree, start - 1);
}

std::uint32_t ExpNode::SubtreeSize() const {
    return m_tree->SubtreeSize(m_index);
}

ExpNode RootNode(const ExpressionTree& tree) {
    return tree.IsEmpty() ? ExpNode() : ExpNode(&tree, tree.Size() - 1);
}
