#pragma once

#include <memory>
#include <string_view>

#include "ExpFuncTable.h"
#include "ExpNode.h"
#include "ExpValueTraits.h"
#include "VarTable.h"

// Evaluates an expression tree to a value of type T (double in the program).
//
// Operands are evaluated in a fixed order, which decides the error reported
// when both contain one: + - ^ left first; * right first; / right first and
// the zero test before the left. A call's arguments are evaluated in order,
// each checked with CheckResult, after the function name is found; arguments
// see the function table's variables, the top level sees m_variables.
//
// The walk keeps its pending work on the heap, so a tree of any depth
// evaluates in time and memory linear in its size.
template <class T>
class CExpEvaluatorT {
public:
    using Traits = ExpValueTraits<T>;

    T Evaluate(const CExpNode& node) const;
    // An operator, sign or parenthesis node.
    T EvaluateOperator(const CExpNode& node) const { return Evaluate(node); }
    // EXP_ERR_UNDEFINED (naming the variable) when m_variables lacks it.
    T LookupVariable(std::string_view name) const;

    static T ConvertLiteral(std::string_view text) { return Traits::ConvertLiteral(text); }
    static bool IsEqual(T a, T b) { return Traits::IsEqual(a, b); }
    static T CheckResult(T value) { return Traits::CheckResult(value); }

    // The variables of this evaluation (a copy the creator fills).
    VarTable m_variables;
    // The functions, and the variables their arguments are evaluated with.
    CExpFuncTable m_funcs;
    // The tree this evaluator owns: a copy the creator stores.
    std::unique_ptr<CExpNode> m_pTree;
};

using CExpEvaluator = CExpEvaluatorT<double>;

// Evaluates `root` as an argument of a function of `funcs`: variables come
// from the table's variable reference (none when it is unset).
double EvaluateArgument(const CExpNode& root, const CExpFuncTable& funcs);

extern template class CExpEvaluatorT<double>;
extern template class CExpEvaluatorT<float>;
extern template class CExpEvaluatorT<int>;
extern template class CExpEvaluatorT<unsigned int>;
extern template class CExpEvaluatorT<long>;
extern template class CExpEvaluatorT<unsigned long>;
extern template class CExpEvaluatorT<long long>;
extern template class CExpEvaluatorT<unsigned long long>;
extern template class CExpEvaluatorT<long double>;
