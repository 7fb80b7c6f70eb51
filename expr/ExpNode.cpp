#include "ExpNode.h"

#include <utility>

namespace {
const std::string kNoText;
const CExpNode::ArgList kNoArgs;
}  // namespace

CExpNode::CExpNode(std::string_view text, int kind) : m_strText(text), m_nKind(kind) {}

CExpNode::CExpNode(Ptr left, char op, Ptr right)
    : m_pLeft(std::move(left)), m_pRight(std::move(right)), m_chOp(op) {}

CExpNode::CExpNode(Ptr inner, char op) : m_pLeft(std::move(inner)), m_chOp(op) {}

CExpNode::CExpNode(char sign, Ptr operand) : m_pRight(std::move(operand)), m_chOp(sign) {}

CExpNode::CExpNode(std::string_view name, ArgList args)
    : m_pCall(new CallPart{std::string(name), std::move(args)}), m_chOp('('), m_bCall(true) {}

CExpNode::CExpNode(const CExpNode& other)
    : m_strText(other.m_strText), m_nKind(other.m_nKind), m_chOp(other.m_chOp), m_bCall(other.m_bCall) {
    CopyChildren(other, *this);
}

const std::string& CExpNode::GetName() const { return m_pCall ? m_pCall->m_strName : kNoText; }

const CExpNode::ArgList& CExpNode::GetArgs() const { return m_pCall ? m_pCall->m_args : kNoArgs; }

// Copies the subtrees below `from` into `to`, whose own fields are already
// set, one node at a time from a work list.
void CExpNode::CopyChildren(const CExpNode& from, CExpNode& to) {
    std::vector<std::pair<const CExpNode*, CExpNode*>> pending{{&from, &to}};
    auto shallowCopy = [&pending](const CExpNode& src) {
        Ptr copy(new CExpNode());
        copy->m_strText = src.m_strText;
        copy->m_nKind = src.m_nKind;
        copy->m_chOp = src.m_chOp;
        copy->m_bCall = src.m_bCall;
        pending.emplace_back(&src, copy.get());
        return copy;
    };
    while (!pending.empty()) {
        auto [src, dst] = pending.back();
        pending.pop_back();
        if (src->m_pLeft) dst->m_pLeft = shallowCopy(*src->m_pLeft);
        if (src->m_pRight) dst->m_pRight = shallowCopy(*src->m_pRight);
        if (src->m_pCall) {
            dst->m_pCall.reset(new CallPart{src->m_pCall->m_strName, {}});
            dst->m_pCall->m_args.reserve(src->m_pCall->m_args.size());
            for (const Ptr& arg : src->m_pCall->m_args) dst->m_pCall->m_args.push_back(shallowCopy(*arg));
        }
    }
}

// Frees a subtree without recursion and without allocating: while the
// current node has a left child the tree is rotated right; a node without a
// left child hangs its arguments into that free slot one by one; a node with
// neither is freed and the walk goes on with its right child. Every node is
// so freed childless, and its own destructor has nothing left to do.
void CExpNode::FreeChain(Ptr current) {
    while (current) {
        if (current->m_pLeft) {
            Ptr left = std::move(current->m_pLeft);
            current->m_pLeft = std::move(left->m_pRight);
            left->m_pRight = std::move(current);
            current = std::move(left);
        } else if (current->m_pCall && !current->m_pCall->m_args.empty()) {
            current->m_pLeft = std::move(current->m_pCall->m_args.back());
            current->m_pCall->m_args.pop_back();
        } else {
            Ptr next = std::move(current->m_pRight);
            current = std::move(next);
        }
    }
}

CExpNode::~CExpNode() {
    if (m_pLeft) FreeChain(std::move(m_pLeft));
    if (m_pRight) FreeChain(std::move(m_pRight));
    if (m_pCall) {
        for (Ptr& arg : m_pCall->m_args) FreeChain(std::move(arg));
    }
}

std::unique_ptr<CExpNode> CopyTree(const CExpNode* root) {
    return root ? std::make_unique<CExpNode>(*root) : nullptr;
}
