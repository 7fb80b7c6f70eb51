#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "ExpException.h"
#include "ExpFuncTable.h"
#include "ExpNode.h"
#include "ExpValueTraits.h"
#include "ExpressionTree.h"
#include "VarTable.h"

// An error that stands in for the value at this depth of the value stack.
struct ExpPendingError {
    static constexpr std::uint32_t kNoDivisor = UINT32_MAX;

    std::size_t depth;
    ExpException error;
    // A division by zero takes the start of its divisor as its place. Finding
    // that start reads the divisor's subtree, so it waits until the error
    // leaves the evaluation: errors that calls drop never pay for it.
    std::uint32_t divisor = kNoDivisor;
};

// What an evaluation keeps while it runs.
template <class T>
struct ExpEvaluationStack {
    std::vector<T> values;
    std::vector<ExpPendingError> errors;  // by depth, the deepest last
    std::vector<double> arguments;        // of a call, for value types other than double
    // Where in the source a value first became infinite or not a number
    // from finite operands, for the error the whole value then gives.
    std::optional<std::uint32_t> nonFiniteFrom;

    // Gives back storage far beyond what a short expression needs.
    void ReleaseLarge() {
        constexpr std::size_t kKept = 1024;
        if (values.capacity() > kKept)
            std::vector<T>().swap(values);
        if (errors.capacity() > kKept)
            std::vector<ExpPendingError>().swap(errors);
    }
};

// Evaluates an expression tree to a value of type T (double in the program).
//
// Operands are evaluated in a fixed order, which decides the error reported
// when both contain one: + - ^ left first; * right first; / right first and
// the zero test before the left. A call's function name is looked up and
// its argument count checked before its arguments count; the arguments are
// taken in order, each checked with CheckResult. Arguments see the function
// table's variables, the top level sees m_variables (or m_readVariables).
//
// The tree is in post-order, so evaluating it is one loop over its nodes
// with a stack of values: a chain like a+b+c+... never holds more than two.
// An error does not stop the loop at once: it stands in for the value of
// its subtree, and each operator passes on the error its order of
// evaluation would have met first (a '*' the right one's). Which error the
// whole tree reports is then the one the fixed order gives, without the
// loop having to take the right operand of a '*' before its left.
template <class T>
class BasicExpEvaluator {
  public:
    using Traits = ExpValueTraits<T>;

    T Evaluate(const ExpressionTree& tree) const;
    // The value of one subtree.
    T Evaluate(ExpNode node) const;
    // An operator, sign or parenthesis node.
    T EvaluateOperator(ExpNode node) const { return Evaluate(node); }
    // EXP_ERR_UNDEFINED (naming the variable) when m_variables lacks it.
    T LookupVariable(std::string_view name) const;

    static T ConvertLiteral(std::string_view text) { return Traits::ConvertLiteral(text); }
    static bool IsEqual(T a, T b) { return Traits::IsEqual(a, b); }
    static T CheckResult(T value) { return Traits::CheckResult(value); }
    // CheckResult for the value the last Evaluate gave, its error placed
    // where a value first went beyond the finite numbers.
    T CheckEvaluated(T value) const;

    // The variables of this evaluation (a copy the creator fills).
    VarTable m_variables;
    // When set, read instead of m_variables, without a copy: the creator
    // keeps that table alive and unchanged while it evaluates.
    const VarTable* m_readVariables = nullptr;
    // The functions, and the variables their arguments are evaluated with.
    ExpFuncTable m_funcs;
    // When set (by another thread, say), an evaluation under way is given
    // up with ExpCancelled (see ExpCancelled.h); may be null.
    const std::atomic<bool>* m_cancel = nullptr;
    // The tree this evaluator owns: a copy the creator stores.
    std::unique_ptr<ExpressionTree> m_tree;

  private:
    const VarTable* TopVariables() const {
        return m_readVariables ? m_readVariables : &m_variables;
    }

    // Kept from one evaluation to the next, so that evaluating one short
    // expression after another allocates nothing.
    mutable ExpEvaluationStack<T> m_stack;
};

using ExpEvaluator = BasicExpEvaluator<double>;

extern template class BasicExpEvaluator<double>;
extern template class BasicExpEvaluator<float>;
extern template class BasicExpEvaluator<int>;
extern template class BasicExpEvaluator<unsigned int>;
extern template class BasicExpEvaluator<long>;
extern template class BasicExpEvaluator<unsigned long>;
extern template class BasicExpEvaluator<long long>;
extern template class BasicExpEvaluator<unsigned long long>;
extern template class BasicExpEvaluator<long double>;
