#include "TreeCheck.h"

#include <utility>
#include <vector>

#include "ExpNode.h"
#include "FuzzSupport.h"

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::size_t Fuzz::CheckTree(const CExpNode& root) {
    std::size_t count = 0;
    std::vector<const CExpNode*> pending{&root};
    while (!pending.empty()) {
        const CExpNode* node = pending.back();
        pending.pop_back();
        ++count;
        if (node->IsCall()) {
            FUZZ_CHECK(!node->GetName().empty() && IsLetter(node->GetName()[0]));
            FUZZ_CHECK(!node->GetArgs().empty());
            FUZZ_CHECK(!node->GetLeft() && !node->GetRight());
            for (const auto& arg : node->GetArgs()) {
                FUZZ_CHECK(arg != nullptr);
                pending.push_back(&*arg);
            }
            continue;
        }
        switch (node->GetOp()) {
            case ' ':
                FUZZ_CHECK(node->IsNumber() || node->IsVariable());
                FUZZ_CHECK(!node->GetText().empty());
                FUZZ_CHECK(!node->GetLeft() && !node->GetRight());
                break;
            case '(':
                FUZZ_CHECK(node->GetLeft() && !node->GetRight());
                break;
            case '+':
            case '-':
                FUZZ_CHECK(node->GetRight());
                break;
            case '*':
            case '/':
            case '^':
                FUZZ_CHECK(node->GetLeft() && node->GetRight());
                break;
            default:
                FUZZ_CHECK(!"an operator the grammar does not have");
        }
        if (node->GetLeft())
            pending.push_back(node->GetLeft());
        if (node->GetRight())
            pending.push_back(node->GetRight());
    }
    return count;
}

bool Fuzz::SameTree(const CExpNode& a, const CExpNode& b) {
    std::vector<std::pair<const CExpNode*, const CExpNode*>> pending{{&a, &b}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (!x || !y) {
            if (x != y)
                return false;
            continue;
        }
        if (x->GetOp() != y->GetOp() || x->IsCall() != y->IsCall() ||
            x->IsNumber() != y->IsNumber() || x->IsVariable() != y->IsVariable() ||
            x->GetText() != y->GetText() || x->GetName() != y->GetName() ||
            x->GetArgs().size() != y->GetArgs().size())
            return false;
        pending.emplace_back(x->GetLeft(), y->GetLeft());
        pending.emplace_back(x->GetRight(), y->GetRight());
        for (std::size_t i = 0; i < x->GetArgs().size(); ++i)
            pending.emplace_back(x->GetArgs()[i].get(), y->GetArgs()[i].get());
    }
    return true;
}
