#include "ExpEvaluator.h"

#include <vector>

namespace {

// Variables the walk reads: `top` for the expression itself, `args` inside
// function arguments (either may be absent: every lookup then fails).
struct Scope {
    const VarTable* top;
    const VarTable* args;
};

template <class T>
T Lookup(const VarTable* vars, std::string_view name) {
    const auto value = vars ? vars->Find(name) : std::nullopt;
    if (!value)
        throw CExpException(EXP_ERR_UNDEFINED, name);
    return ExpValueTraits<T>::FromVariable(*value);
}

// The evaluation walk. Each frame is a node waiting for the values of its
// operands; `step` counts what it has received so far. Finished values wait
// on their own stack in the order they were computed.
template <class T>
T Walk(const CExpNode& root, Scope scope, const CExpFuncTable& funcs) {
    using Traits = ExpValueTraits<T>;
    // Frames stay small: a sum of a million terms waits on a million of
    // them. The functions of the calls being evaluated, innermost last, wait
    // on a stack of their own.
    struct Frame {
        const CExpNode* node;
        int step;
        bool inArgument;
    };
    std::vector<const CExpFuncTable::FuncEntry*> calls;
    // Room for every short expression from the start.
    constexpr std::size_t kInitialRoom = 32;
    std::vector<Frame> frames;
    std::vector<T> values;
    frames.reserve(kInitialRoom);
    values.reserve(kInitialRoom);
    frames.push_back({&root, 0, false});

    // A number or variable, which needs no frame of its own.
    auto pushLeaf = [&values, scope](const CExpNode& leaf, bool inArgument) {
        const VarTable* vars = inArgument ? scope.args : scope.top;
        if (leaf.IsVariable())
            values.push_back(Lookup<T>(vars, leaf.GetText()));
        else if (leaf.IsNumber())
            values.push_back(Traits::ConvertLiteral(leaf.GetText()));
        else
            throw CExpException(EXP_ERR_OPERAND, 0);
    };
    // Schedules `child` under the frame at `index`. A leaf child is
    // evaluated at once, as it would be first thing on the next round.
    auto descend = [&frames, &pushLeaf](std::size_t index, const CExpNode* child, bool inArgument) {
        ++frames[index].step;
        if (child && child->GetOp() == ' ' && !child->IsCall())
            pushLeaf(*child, inArgument);
        else
            frames.push_back({child, 0, inArgument});
    };
    auto popValue = [&values] {
        const T value = values.back();
        values.pop_back();
        return value;
    };

    while (!frames.empty()) {
        const std::size_t index = frames.size() - 1;
        const Frame frame = frames[index];
        const CExpNode* node = frame.node;
        if (node == nullptr)
            throw CExpException(EXP_ERR_OPERAND, 0);

        if (node->IsCall()) {
            if constexpr (!Traits::kHasFunctions) {
                throw CExpException(EXP_ERR_OPERATOR, 0);
            } else {
                const CExpNode::ArgSpan args = node->GetArgs();
                if (frame.step == 0) {
                    // The name is looked up and the argument count checked
                    // before any argument is evaluated.
                    const auto& entry = funcs.Find(node->GetName());
                    if (static_cast<int>(args.size()) < entry.argCount)
                        throw CExpException(EXP_ERR_OPERAND, 0);
                    calls.push_back(&entry);
                } else {
                    // Each argument is checked before the next is evaluated.
                    values.back() = Traits::CheckResult(values.back());
                }
                const CExpFuncTable::FuncEntry& entry = *calls.back();
                if (frame.step < entry.argCount) {
                    descend(index, args[frame.step].get(), true);
                    continue;
                }
                // Arguments beyond those the function uses are never evaluated.
                const std::size_t used = static_cast<std::size_t>(entry.argCount);
                double result;
                if constexpr (std::is_same_v<T, double>) {
                    result = entry.fn(
                        funcs, std::span<const double>(values.data() + values.size() - used, used));
                } else {
                    const std::vector<double> arguments(values.end() - used, values.end());
                    result = entry.fn(funcs, arguments);
                }
                values.resize(values.size() - used);
                values.push_back(static_cast<T>(result));
                calls.pop_back();
                frames.pop_back();
                continue;
            }
        }

        const char op = node->GetOp();
        const CExpNode* left = node->GetLeft();
        const CExpNode* right = node->GetRight();
        const bool in = frame.inArgument;
        switch (op) {
            case ' ':
                pushLeaf(*node, in);
                frames.pop_back();
                continue;
            case '(':
                if (frame.step == 0) {
                    descend(index, left, in);
                    continue;
                }
                break;
            case '+':
            case '-':
                if (left == nullptr) {  // a sign
                    if (frame.step == 0) {
                        descend(index, right, in);
                        continue;
                    }
                    if (op == '-')
                        values.back() = Traits::Negate(values.back());
                    break;
                }
                [[fallthrough]];
            case '^':
                if (frame.step < 2) {
                    descend(index, frame.step == 0 ? left : right, in);
                    continue;
                } else {
                    const T r = popValue();
                    const T l = popValue();
                    values.push_back(op == '+'   ? Traits::Add(l, r)
                                     : op == '-' ? Traits::Subtract(l, r)
                                                 : Traits::Power(l, r));
                }
                break;
            case '*':
            case '/':
                if (frame.step == 0) {
                    descend(index, right, in);
                    continue;
                }
                if (frame.step == 1) {
                    // The divisor is tested before the dividend is evaluated,
                    // so x/0 reports the division even when x is undefined.
                    if (op == '/' && Traits::IsEqual(values.back(), T(0)))
                        throw CExpException(EXP_ERR_DIVZERO, 0);
                    descend(index, left, in);
                    continue;
                } else {
                    const T l = popValue();
                    const T r = popValue();
                    values.push_back(op == '*' ? Traits::Multiply(l, r) : Traits::Divide(l, r));
                }
                break;
            default:
                throw CExpException(EXP_ERR_OPERAND, 0);
        }
        frames.pop_back();
    }
    return values.back();
}

}  // namespace

template <class T>
T CExpEvaluatorT<T>::Evaluate(const CExpNode& node) const {
    return Walk<T>(node, Scope{&m_variables, m_funcs.Variables()}, m_funcs);
}

template <class T>
T CExpEvaluatorT<T>::LookupVariable(std::string_view name) const {
    return Lookup<T>(&m_variables, name);
}

double EvaluateArgument(const CExpNode& root, const CExpFuncTable& funcs) {
    return Walk<double>(root, Scope{funcs.Variables(), funcs.Variables()}, funcs);
}

template class CExpEvaluatorT<double>;
template class CExpEvaluatorT<float>;
template class CExpEvaluatorT<int>;
template class CExpEvaluatorT<unsigned int>;
template class CExpEvaluatorT<long>;
template class CExpEvaluatorT<unsigned long>;
template class CExpEvaluatorT<long long>;
template class CExpEvaluatorT<unsigned long long>;
template class CExpEvaluatorT<long double>;
