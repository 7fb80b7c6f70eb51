#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "BuiltinFunctions.h"
#include "ExpressionTree.h"

class ExpFuncTable;
class VarTable;

// An expression made, once, into a list of steps over a stack of values,
// every name resolved: the variable to the value being computed, the other
// names to their values, each call to its formula. Computing it for one x
// after another then looks nothing up, which is most of what a curve of a
// long expression costs in the evaluator.
//
// It takes the evaluator's operations in the evaluator's order with its
// checks (a divisor within the tolerance of zero, a call's arguments and
// the whole value finite), so every value it gives is the evaluator's to
// the bit. Where the evaluator reports an error it gives no value, without
// saying which error: whoever must say asks the evaluator.
class PlotProgram {
  public:
    // `functions` resolves the calls; `others` gives the names other than
    // the variable their values. A name or call that resolves to nothing
    // fails every computation, as in the evaluator, unless it stands in an
    // argument the function does not use.
    PlotProgram(const ExpressionTree& tree, std::string_view variable, const VarTable& others,
                const ExpFuncTable& functions);

    // The value for `x`, or none where the evaluator fails. `stack`: the
    // room the computation works in, one for each thread that computes.
    std::optional<double> ValueAt(double x, std::vector<double>& stack) const;

    // The room a computation needs: a stack this large is never grown.
    std::size_t StackSize() const { return m_depth; }

  private:
    enum class Step : std::uint8_t {
        Number,  // the next of the numbers
        Variable,
        Add,
        Subtract,
        Multiply,
        Divide,
        Power,
        // The same with the next of the numbers as the right operand.
        AddNumber,
        SubtractNumber,
        MultiplyNumber,
        DivideNumber,
        PowerNumber,
        Negate,
        Call,  // the next of the calls
        Fail,
    };
    struct Call {
        FunctionFormula formula;
        std::size_t argCount;
    };

    static Step OperatorStep(ExpressionTree::Tag tag, bool numberRight);

    // The program has no branches: the steps take the numbers and the
    // calls in the order they stand.
    std::vector<Step> m_steps;
    std::vector<double> m_numbers;
    std::vector<Call> m_calls;
    std::size_t m_depth = 0;  // the most values the stack holds
    bool m_alwaysFails = false;
};
