#include "ExpNode.h"

#include <algorithm>

#include "ExpressionTree.h"

ExpNodeKind CExpNode::Kind() const {
    return ExpressionTree::KindOf(m_pTree->TagAt(m_nIndex));
}

char CExpNode::GetOp() const {
    return ExpressionTree::OpOf(m_pTree->TagAt(m_nIndex));
}

std::string_view CExpNode::GetText() const {
    return IsLeaf() ? m_pTree->TextOf(m_nIndex) : std::string_view();
}

std::string_view CExpNode::GetName() const {
    return IsCall() ? m_pTree->TextOf(m_nIndex) : std::string_view();
}

double CExpNode::GetValue() const {
    return IsNumber() ? m_pTree->ValueOf(m_nIndex) : 0.0;
}

CExpNode CExpNode::GetLeft() const {
    switch (Kind()) {
        case ExpNodeKind::Infix: {
            // The right operand's subtree stands between the left one and the node.
            const std::uint32_t right = m_nIndex - 1;
            return CExpNode(m_pTree, m_pTree->SubtreeStart(right) - 1);
        }
        case ExpNodeKind::Parenthesis:
            return CExpNode(m_pTree, m_nIndex - 1);
        default:
            return {};
    }
}

CExpNode CExpNode::GetRight() const {
    if (Kind() == ExpNodeKind::Infix || Kind() == ExpNodeKind::Sign)
        return CExpNode(m_pTree, m_nIndex - 1);
    return {};
}

std::vector<CExpNode> CExpNode::GetArgs() const {
    std::vector<CExpNode> args;
    args.reserve(ArgCount());
    for (CExpNode arg = LastArg(); arg; arg = arg.PreviousArg(*this))
        args.push_back(arg);
    std::reverse(args.begin(), args.end());
    return args;
}

std::uint32_t CExpNode::ArgCount() const {
    return IsCall() ? m_pTree->CallAt(m_nIndex).argCount : 0;
}

CExpNode CExpNode::LastArg() const {
    return ArgCount() > 0 ? CExpNode(m_pTree, m_nIndex - 1) : CExpNode();
}

CExpNode CExpNode::PreviousArg(const CExpNode& call) const {
    // The arguments' subtrees stand one after the other right before the call.
    const std::uint32_t start = m_pTree->SubtreeStart(m_nIndex);
    if (start == call.m_pTree->SubtreeStart(call.m_nIndex))
        return {};
    return CExpNode(m_pTree, start - 1);
}

std::uint32_t CExpNode::SubtreeSize() const {
    return m_pTree->SubtreeSize(m_nIndex);
}
