#include "ExpEvaluator.h"

#include <cmath>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>

#include "ExpCancelled.h"

namespace {

// Variables the walk reads: `top` for the expression itself, `args` inside
// function arguments (either may be absent: every lookup then fails).
struct Scope {
    const VarTable* top;
    const VarTable* args;
};

// `place`: where the name stands in the source.
template <class T>
T Lookup(const VarTable* vars, std::string_view name, std::uint32_t place) {
    const auto value = vars ? vars->Find(name) : std::nullopt;
    if (!value) {
        ExpException error(EXP_ERR_UNDEFINED, name);
        error.SetPlace(static_cast<int>(place));
        throw error;
    }
    return ExpValueTraits<T>::FromVariable(*value);
}

// Where the leftmost number, name or call of the subtree whose root is
// node `root` starts in the source; none when it holds only numbers
// composed of several pieces, which keep no place in the source.
std::optional<std::uint32_t> LeftmostStart(const ExpressionTree& tree, std::uint32_t root) {
    using Tag = ExpressionTree::Tag;
    std::optional<std::uint32_t> start;
    for (std::uint32_t i = tree.SubtreeStart(root); i <= root; ++i) {
        const ExpressionTree::Node& node = tree.Nodes()[i];
        std::optional<std::uint32_t> at;
        if (node.tag == Tag::Number || node.tag == Tag::Variable ||
            node.tag == Tag::ArgumentVariable)
            at = std::uint32_t{node.word};  // a copy: the packed field takes no reference
        else if (node.tag == Tag::Call)
            at = tree.CallAt(i).nameStart;
        if (at && (!start || *at < *start))
            start = at;
    }
    return start;
}

// Where the divisor whose root is node `root` starts in the source: its
// leftmost piece and the parentheses and signs that open it (the
// character before a divisor is its '/', which ends the search).
std::optional<std::uint32_t> DivisorStart(const ExpressionTree& tree, std::uint32_t root) {
    std::optional<std::uint32_t> start = LeftmostStart(tree, root);
    const std::string_view source = tree.Source();
    while (start && *start > 0 && *start <= source.size() &&
           (source[*start - 1] == '(' || source[*start - 1] == '+' || source[*start - 1] == '-'))
        --*start;
    return start;
}

// One loop over the nodes [first, end) of a tree in post-order. Every node
// leaves its value on the stack; an error stands in for a value (see the
// class comment) and is thrown when it reaches the root.
template <class T>
T Walk(const ExpressionTree& tree, std::uint32_t first, std::uint32_t end, Scope scope,
       const ExpFuncTable& funcs, ExpEvaluationStack<T>& stack, ExpCancelPoll cancel) {
    using Traits = ExpValueTraits<T>;
    std::vector<T>& values = stack.values;
    std::vector<ExpPendingError>& errors = stack.errors;
    values.clear();
    errors.clear();
    stack.nonFiniteFrom.reset();
    // A value beyond the finite numbers is no error until it is checked,
    // and may even come back (x^0); where the first arose is noted.
    auto noteNonFinite = [&](T value, auto&& place) {
        if constexpr (std::is_floating_point_v<T>) {
            if (!stack.nonFiniteFrom && !std::isfinite(value))
                stack.nonFiniteFrom = place();
        }
    };
    if (first >= end)
        throw ExpException(EXP_ERR_OPERAND, 0);

    auto takeError = [&errors](std::size_t depth) -> std::optional<ExpPendingError> {
        if (errors.empty() || errors.back().depth != depth)
            return std::nullopt;
        std::optional<ExpPendingError> error(std::move(errors.back()));
        errors.pop_back();
        return error;
    };
    auto hasErrorFrom = [&errors](std::size_t depth) {
        return !errors.empty() && errors.back().depth >= depth;
    };
    // Runs `compute` for the value at the top of the stack; an error it
    // throws takes the value's place.
    auto settle = [&](auto&& compute) {
        try {
            values.back() = compute();
        } catch (ExpException& error) {
            errors.push_back({values.size() - 1, std::move(error)});
        }
    };
    auto push = [&](auto&& compute) {
        values.emplace_back();
        settle(compute);
    };

    using Tag = ExpressionTree::Tag;
    const ExpressionTree::Node* const nodes = tree.Nodes().data();
    const double* const numbers = tree.Values().data();
    // A left-deep chain holds two values, a right-nested one a value for
    // each number: room for the most it can hold keeps the stack from
    // moving, which would hold the old and the new block at once.
    values.reserve(end - first);
    std::uint32_t number = first == 0 ? 0 : tree.NumbersBefore(first);
    for (std::uint32_t i = first; i < end; ++i) {
        cancel.Step();
        const Tag tag = nodes[i].tag;
        // Numbers, the most frequent nodes, skip the switch.
        if (ExpressionTree::IsNumber(tag)) {
            if constexpr (std::is_same_v<T, double>)
                values.push_back(numbers[number]);
            else
                push([&] { return Traits::ConvertLiteral(tree.TextOf(i)); });
            ++number;
            continue;
        }
        switch (tag) {
            case Tag::Number:
            case Tag::ComposedNumber:
            case Tag::Ten:
                break;
            case Tag::Variable:
            case Tag::ArgumentVariable:
                push([&] {
                    return Lookup<T>(tag == Tag::ArgumentVariable ? scope.args : scope.top,
                                     tree.TextOf(i), nodes[i].word);
                });
                break;
            case Tag::Parenthesis:
            case Tag::Plus:
                break;
            case Tag::Minus:
                if (!hasErrorFrom(values.size() - 1))
                    values.back() = Traits::Negate(values.back());
                break;
            case Tag::Add:
            case Tag::Subtract:
            case Tag::Multiply:
            case Tag::Divide:
            case Tag::Power: {
                const std::size_t left = values.size() - 2;
                const T r = values.back();
                values.pop_back();
                const T l = values.back();
                auto compute = [&]() -> T {
                    switch (tag) {
                        case Tag::Add:
                            return Traits::Add(l, r);
                        case Tag::Subtract:
                            return Traits::Subtract(l, r);
                        case Tag::Multiply:
                            return Traits::Multiply(l, r);
                        case Tag::Divide:
                            return Traits::Divide(l, r);
                        default:
                            return Traits::Power(l, r);
                    }
                };
                const bool divisorIsZero = tag == Tag::Divide && Traits::IsEqual(r, T(0));
                if (!hasErrorFrom(left) && !divisorIsZero) {
                    settle(compute);
                    if constexpr (std::is_floating_point_v<T>) {
                        if (std::isfinite(l) && std::isfinite(r))
                            noteNonFinite(values.back(),
                                          [&] { return LeftmostStart(tree, i).value_or(0); });
                    }
                    break;
                }
                // The first error in the operator's order of evaluation.
                std::optional<ExpPendingError> rightError = takeError(left + 1);
                std::optional<ExpPendingError> leftError = takeError(left);
                std::optional<ExpPendingError> error;
                if (tag == Tag::Multiply || tag == Tag::Divide) {
                    // The divisor is tested before the dividend is evaluated,
                    // so x/0 reports the division even when x is undefined.
                    if (rightError)
                        error = std::move(rightError);
                    else if (divisorIsZero)
                        error = ExpPendingError{left, ExpException(EXP_ERR_DIVZERO, 0), i - 1};
                    else
                        error = std::move(leftError);
                } else {
                    error = leftError ? std::move(leftError) : std::move(rightError);
                }
                if (error) {
                    error->depth = left;
                    errors.push_back(std::move(*error));
                } else {
                    settle(compute);
                }
                break;
            }
            case Tag::Call: {
                const ExpressionTree::CallData& call = tree.CallAt(i);
                const std::size_t count = call.argCount;
                const std::size_t base = values.size() - count;
                std::optional<ExpException> error;
                // An argument's own error keeps its place (and a division's
                // divisor to find it from); any other is the call's.
                bool fromArgument = false;
                std::uint32_t divisor = ExpPendingError::kNoDivisor;
                T result{};
                if constexpr (!Traits::kHasFunctions) {
                    error = ExpException(EXP_ERR_OPERATOR, 0);
                } else {
                    try {
                        // The name and the argument count come before any
                        // argument; then each argument in turn, checked.
                        const ExpFuncTable::FuncEntry& entry = funcs.Find(tree.NameOf(call));
                        const std::size_t used = static_cast<std::size_t>(entry.argCount);
                        if (count < used)
                            throw ExpException(EXP_ERR_OPERAND, 0);
                        for (std::size_t a = base; a < base + used; ++a) {
                            if (hasErrorFrom(a)) {
                                std::size_t at = errors.size();
                                while (at > 0 && errors[at - 1].depth >= a)
                                    --at;
                                if (errors[at].depth == a) {
                                    fromArgument = true;
                                    divisor = errors[at].divisor;
                                    throw errors[at].error;
                                }
                            }
                            values[a] = Traits::CheckResult(values[a]);
                        }
                        // Arguments beyond those the function uses count
                        // for nothing, their errors neither.
                        if constexpr (std::is_same_v<T, double>) {
                            result = entry.fn(std::span<const double>(values.data() + base, used));
                        } else {
                            stack.arguments.assign(values.begin() + base,
                                                   values.begin() + base + used);
                            result = static_cast<T>(entry.fn(stack.arguments));
                        }
                        // Its arguments were checked: the call itself left
                        // the finite numbers.
                        noteNonFinite(result, [&] { return call.nameStart; });
                    } catch (ExpException& thrown) {
                        error = std::move(thrown);
                        if (!fromArgument)
                            error->SetPlace(static_cast<int>(call.nameStart));
                    }
                }
                while (hasErrorFrom(base))
                    errors.pop_back();
                values.resize(base);
                values.push_back(result);
                if (error)
                    errors.push_back({base, std::move(*error), divisor});
                break;
            }
        }
    }
    if (!errors.empty()) {
        ExpPendingError& pending = errors.back();
        if (pending.divisor != ExpPendingError::kNoDivisor) {
            if (const auto start = DivisorStart(tree, pending.divisor))
                pending.error.SetPlace(static_cast<int>(*start));
        }
        throw pending.error;
    }
    return values.back();
}

// The stack of a deep expression is not kept for the next one, however
// the evaluation ends.
template <class T>
struct ReleaseAfterwards {
    ExpEvaluationStack<T>& stack;
    ~ReleaseAfterwards() { stack.ReleaseLarge(); }
};

}  // namespace

template <class T>
T BasicExpEvaluator<T>::Evaluate(const ExpressionTree& tree) const {
    ReleaseAfterwards<T> release{m_stack};
    return Walk<T>(tree, 0, tree.Size(), Scope{TopVariables(), m_funcs.Variables()}, m_funcs,
                   m_stack, ExpCancelPoll(m_cancel));
}

template <class T>
T BasicExpEvaluator<T>::CheckEvaluated(T value) const {
    try {
        return CheckResult(value);
    } catch (ExpException& error) {
        if (m_stack.nonFiniteFrom)
            error.SetPlace(static_cast<int>(*m_stack.nonFiniteFrom));
        throw;
    }
}

template <class T>
T BasicExpEvaluator<T>::Evaluate(ExpNode node) const {
    if (node.IsNull())
        throw ExpException(EXP_ERR_OPERAND, 0);
    const ExpressionTree& tree = *node.Tree();
    ReleaseAfterwards<T> release{m_stack};
    return Walk<T>(tree, tree.SubtreeStart(node.Index()), node.Index() + 1,
                   Scope{TopVariables(), m_funcs.Variables()}, m_funcs, m_stack,
                   ExpCancelPoll(m_cancel));
}

template <class T>
T BasicExpEvaluator<T>::LookupVariable(std::string_view name) const {
    return Lookup<T>(TopVariables(), name, 0);
}

template class BasicExpEvaluator<double>;
template class BasicExpEvaluator<float>;
template class BasicExpEvaluator<int>;
template class BasicExpEvaluator<unsigned int>;
template class BasicExpEvaluator<long>;
template class BasicExpEvaluator<unsigned long>;
template class BasicExpEvaluator<long long>;
template class BasicExpEvaluator<unsigned long long>;
template class BasicExpEvaluator<long double>;
