#include "PlotProgram.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "ExpException.h"
#include "ExpFuncTable.h"
#include "ExpValueTraits.h"
#include "ExpressionTree.h"
#include "VarTable.h"

namespace {

using Traits = ExpValueTraits<double>;

// How far the lists had grown where a value's steps begin.
struct Mark {
    std::size_t steps;
    std::size_t numbers;
    std::size_t calls;
};

}  // namespace

PlotProgram::Step PlotProgram::OperatorStep(ExpressionTree::Tag tag, bool numberRight) {
    using Tag = ExpressionTree::Tag;
    switch (tag) {
        case Tag::Add:
            return numberRight ? Step::AddNumber : Step::Add;
        case Tag::Subtract:
            return numberRight ? Step::SubtractNumber : Step::Subtract;
        case Tag::Multiply:
            return numberRight ? Step::MultiplyNumber : Step::Multiply;
        case Tag::Divide:
            return numberRight ? Step::DivideNumber : Step::Divide;
        default:
            return numberRight ? Step::PowerNumber : Step::Power;
    }
}

PlotProgram::PlotProgram(const ExpressionTree& tree, std::string_view variable,
                         const VarTable& others, const ExpFuncTable& functions) {
    using Tag = ExpressionTree::Tag;
    m_steps.reserve(tree.Size());
    // One mark for each value the stack holds at this point of the program.
    std::vector<Mark> starts;
    const auto here = [&] { return Mark{m_steps.size(), m_numbers.size(), m_calls.size()}; };
    const auto cutBackTo = [&](const Mark& mark) {
        m_steps.resize(mark.steps);
        m_numbers.resize(mark.numbers);
        m_calls.resize(mark.calls);
    };
    const std::span<const double> numbers = tree.Values();
    std::size_t number = 0;
    for (std::uint32_t i = 0; i < tree.Size(); ++i) {
        const Tag tag = tree.TagAt(i);
        if (ExpressionTree::IsNumber(tag)) {
            starts.push_back(here());
            m_numbers.push_back(numbers[number++]);
            m_steps.push_back(Step::Number);
            m_depth = std::max(m_depth, starts.size());
            continue;
        }
        switch (tag) {
            case Tag::Variable:
            case Tag::ArgumentVariable: {
                // The expression and its calls' arguments read the same
                // names, the variable before the others.
                starts.push_back(here());
                const std::string_view name = tree.TextOf(i);
                if (name == variable) {
                    m_steps.push_back(Step::Variable);
                } else if (const std::optional<double> value = others.Find(name)) {
                    m_numbers.push_back(*value);
                    m_steps.push_back(Step::Number);
                } else {
                    m_steps.push_back(Step::Fail);
                }
                break;
            }
            case Tag::Minus:
                m_steps.push_back(Step::Negate);
                break;
            case Tag::Add:
            case Tag::Subtract:
            case Tag::Multiply:
            case Tag::Divide:
            case Tag::Power: {
                const Mark right = starts.back();
                starts.pop_back();  // the left operand's mark begins the result
                // A number on the right, the most frequent operand there, is
                // taken by the operator itself: one step fewer to dispatch.
                const bool numberRight =
                    m_steps.size() == right.steps + 1 && m_steps.back() == Step::Number;
                if (numberRight)
                    m_steps.pop_back();
                m_steps.push_back(OperatorStep(tag, numberRight));
                break;
            }
            case Tag::Call: {
                const ExpressionTree::CallData& call = tree.CallAt(i);
                const std::size_t base = starts.size() - call.argCount;
                const Mark start = call.argCount > 0 ? starts[base] : here();
                const ExpFuncTable::FuncEntry* entry = functions.FindOrNull(tree.NameOf(call));
                const std::size_t used = entry ? static_cast<std::size_t>(entry->argCount) : 0;
                if (entry && call.argCount >= used) {
                    // Arguments the function does not use count for nothing,
                    // their errors neither: they are not computed at all.
                    if (used < call.argCount)
                        cutBackTo(starts[base + used]);
                    m_calls.push_back({entry->fn, used});
                    m_steps.push_back(Step::Call);
                } else {
                    cutBackTo(start);
                    m_steps.push_back(Step::Fail);
                }
                starts.resize(base);
                starts.push_back(start);
                break;
            }
            default:  // parentheses and plus signs change no value
                break;
        }
        m_depth = std::max(m_depth, starts.size());
    }
    // Every error that is left reaches the whole value: it fails for any x.
    m_alwaysFails = starts.size() != 1 || std::ranges::find(m_steps, Step::Fail) != m_steps.end();
    if (m_alwaysFails) {
        m_steps.clear();
        m_numbers.clear();
        m_calls.clear();
    }
}

std::optional<double> PlotProgram::ValueAt(double x, std::vector<double>& stack) const {
    if (m_alwaysFails)
        return std::nullopt;
    if (stack.size() < m_depth)
        stack.resize(m_depth);
    // `top` stands just above the topmost value.
    double* top = stack.data();
    const double* number = m_numbers.data();
    const Call* call = m_calls.data();
    try {
        for (const Step step : m_steps) {
            switch (step) {
                case Step::Number:
                    *top++ = *number++;
                    break;
                case Step::Variable:
                    *top++ = x;
                    break;
                case Step::Add:
                    --top;
                    top[-1] = Traits::Add(top[-1], top[0]);
                    break;
                case Step::Subtract:
                    --top;
                    top[-1] = Traits::Subtract(top[-1], top[0]);
                    break;
                case Step::Multiply:
                    --top;
                    top[-1] = Traits::Multiply(top[-1], top[0]);
                    break;
                case Step::Divide:
                    --top;
                    if (Traits::IsEqual(top[0], 0.0))
                        return std::nullopt;
                    top[-1] = Traits::Divide(top[-1], top[0]);
                    break;
                case Step::Power:
                    --top;
                    top[-1] = Traits::Power(top[-1], top[0]);
                    break;
                case Step::AddNumber:
                    top[-1] = Traits::Add(top[-1], *number++);
                    break;
                case Step::SubtractNumber:
                    top[-1] = Traits::Subtract(top[-1], *number++);
                    break;
                case Step::MultiplyNumber:
                    top[-1] = Traits::Multiply(top[-1], *number++);
                    break;
                case Step::DivideNumber:
                    if (Traits::IsEqual(*number, 0.0))
                        return std::nullopt;
                    top[-1] = Traits::Divide(top[-1], *number++);
                    break;
                case Step::PowerNumber:
                    top[-1] = Traits::Power(top[-1], *number++);
                    break;
                case Step::Negate:
                    top[-1] = Traits::Negate(top[-1]);
                    break;
                case Step::Call: {
                    double* const args = top - call->argCount;
                    if (!std::all_of(args, top, [](double arg) { return std::isfinite(arg); }))
                        return std::nullopt;
                    const double result = call->formula({args, call->argCount});
                    top = args;
                    *top++ = result;
                    ++call;
                    break;
                }
                case Step::Fail:
                    return std::nullopt;
            }
        }
    } catch (const ExpException&) {
        return std::nullopt;  // a formula that refuses its arguments
    }
    const double value = top[-1];
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}
