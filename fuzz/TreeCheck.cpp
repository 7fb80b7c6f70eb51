#include "TreeCheck.h"

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ExpNode.h"
#include "ExpressionTree.h"
#include "FuzzSupport.h"

namespace {

constexpr std::string_view kOperators = "+-*/^";

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// The children of a node, last first.
std::vector<ExpNode> ChildrenLastFirst(ExpNode node) {
    std::vector<ExpNode> children;
    switch (node.Kind()) {
        case ExpNodeKind::Infix:
            children = {node.GetRight(), node.GetLeft()};
            break;
        case ExpNodeKind::Sign:
            children = {node.GetRight()};
            break;
        case ExpNodeKind::Parenthesis:
            children = {node.GetLeft()};
            break;
        case ExpNodeKind::Call:
            for (ExpNode arg = node.LastArg(); arg; arg = arg.PreviousArg(node))
                children.push_back(arg);
            break;
        default:
            break;
    }
    return children;
}

// A number written with an exponent: mantissa * 10 ^ (signs and digits).
// Returns the exponent's outermost node, or a null node.
ExpNode ExponentOf(ExpNode product) {
    if (!product.IsInfix() || product.GetOp() != '*' || !product.GetLeft().IsNumber())
        return {};
    const ExpNode power = product.GetRight();
    if (!power.IsInfix() || power.GetOp() != '^' || power.GetLeft().GetText() != "10")
        return {};
    ExpNode digits = power.GetRight();
    while (digits.IsSign())
        digits = digits.GetRight();
    return digits.IsNumber() && IsDigits(digits.GetText()) ? power.GetRight() : ExpNode();
}

}  // namespace

std::size_t Fuzz::CheckTree(const ExpressionTree& tree) {
    FUZZ_CHECK(!tree.IsEmpty());
    FUZZ_CHECK(tree.SubtreeStart(tree.Size() - 1) == 0);
    for (std::uint32_t i = 0; i < tree.Size(); ++i) {
        const ExpNode node = NodeAt(tree, i);
        const std::uint32_t size = node.SubtreeSize();
        FUZZ_CHECK(size >= 1 && size <= i + 1);
        // The children's subtrees fill the node's, back to back.
        std::uint32_t end = i;
        for (const ExpNode child : ChildrenLastFirst(node)) {
            FUZZ_CHECK(child && child.Index() + 1 == end);
            end = tree.SubtreeStart(child.Index());
        }
        FUZZ_CHECK(end == i + 1 - size);
        switch (node.Kind()) {
            case ExpNodeKind::Number:
            case ExpNodeKind::Variable:
                FUZZ_CHECK(node.GetOp() == ' ' && !node.GetText().empty());
                FUZZ_CHECK(node.IsNumber() || IsLetter(node.GetText()[0]));
                break;
            case ExpNodeKind::Infix:
                FUZZ_CHECK(kOperators.find(node.GetOp()) != std::string_view::npos);
                break;
            case ExpNodeKind::Sign:
                FUZZ_CHECK(node.GetOp() == '+' || node.GetOp() == '-');
                break;
            case ExpNodeKind::Parenthesis:
                FUZZ_CHECK(node.GetOp() == '(');
                break;
            case ExpNodeKind::Call:
                FUZZ_CHECK(node.GetOp() == '(' && node.ArgCount() >= 1);
                FUZZ_CHECK(!node.GetName().empty() && IsLetter(node.GetName()[0]));
                break;
        }
    }
    return tree.Size();
}

bool Fuzz::SameTree(const ExpressionTree& a, const ExpressionTree& b) {
    if (a.Size() != b.Size())
        return false;
    for (std::uint32_t i = 0; i < a.Size(); ++i) {
        const ExpNode x = NodeAt(a, i);
        const ExpNode y = NodeAt(b, i);
        if (x.Kind() != y.Kind() || x.GetOp() != y.GetOp() || x.GetText() != y.GetText() ||
            x.GetName() != y.GetName() || x.SubtreeSize() != y.SubtreeSize() ||
            x.ArgCount() != y.ArgCount() ||
            std::bit_cast<std::uint64_t>(x.GetValue()) !=
                std::bit_cast<std::uint64_t>(y.GetValue()))
            return false;
    }
    return true;
}

std::string Fuzz::PrintTree(const ExpressionTree& tree) {
    // What is left to write, the next piece last: a node or a fixed text.
    struct Piece {
        ExpNode node;
        std::string_view text;
    };
    std::string out;
    std::vector<Piece> pending{{RootNode(tree), {}}};
    while (!pending.empty()) {
        const Piece piece = pending.back();
        pending.pop_back();
        if (!piece.node) {
            out += piece.text;
            continue;
        }
        const ExpNode node = piece.node;
        switch (node.Kind()) {
            case ExpNodeKind::Number:
            case ExpNodeKind::Variable:
                out += node.GetText();
                break;
            case ExpNodeKind::Parenthesis:
                out += '(';
                pending.push_back({{}, ")"});
                pending.push_back({node.GetLeft(), {}});
                break;
            case ExpNodeKind::Sign:
                out += node.GetOp();
                pending.push_back({node.GetRight(), {}});
                break;
            case ExpNodeKind::Call: {
                out += node.GetName();
                out += '(';
                pending.push_back({{}, ")"});
                for (ExpNode arg = node.LastArg(); arg;) {
                    pending.push_back({arg, {}});
                    arg = arg.PreviousArg(node);
                    if (arg)
                        pending.push_back({{}, ","});
                }
                break;
            }
            case ExpNodeKind::Infix: {
                if (const ExpNode exponent = ExponentOf(node)) {
                    // 1e-3 is the only way to write a sign after '^'.
                    out += node.GetLeft().GetText();
                    out += 'e';
                    pending.push_back({exponent, {}});
                    break;
                }
                pending.push_back({node.GetRight(), {}});
                pending.push_back({{}, kOperators.substr(kOperators.find(node.GetOp()), 1)});
                pending.push_back({node.GetLeft(), {}});
                break;
            }
        }
    }
    return out;
}
