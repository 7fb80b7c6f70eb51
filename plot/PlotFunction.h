#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ExpEvaluator.h"
#include "ExpException.h"
#include "ExpressionTree.h"
#include "PlotProgram.h"
#include "VarTable.h"

// An expression as a function of one of its names: parsed once, then
// computed for one value of the variable after another, each exactly as
// the compute command computes the expression with the variable defined
// as that value. The values come from the expression made into a program
// (PlotProgram); an error's code and place from the evaluator.
class PlotFunction {
  public:
    // `stripped`: the expression without white space. The variable's value
    // replaces any the table gives it; the table's other names keep theirs.
    // Throws ExpException when the text does not parse.
    PlotFunction(std::string_view stripped, std::string_view variable, const VarTable& others);

    // The value at `x`; throws ExpException (the error the compute command
    // reports for that value), or std::bad_alloc.
    double Compute(double x);
    // The value, or none where the computation fails.
    std::optional<double> ValueAt(double x) { return m_program.ValueAt(x, m_stack); }
    // For computing on other threads, each with a stack of its own.
    const PlotProgram& Program() const { return m_program; }

    std::string_view Variable() const { return m_variable; }
    std::string_view Text() const { return m_tree->Source(); }

  private:
    double ComputeByEvaluator(double x);

    std::string m_variable;
    std::unique_ptr<ExpressionTree> m_tree;
    // Only the names the expression reads, copied into the evaluator's table
    // with the variable at each computation: a grid of many variables costs
    // nothing per point.
    std::vector<std::pair<std::string, double>> m_usedOthers;
    // On the heap, since the evaluator's functions point at its own table.
    std::unique_ptr<ExpEvaluator> m_evaluator;
    PlotProgram m_program;
    std::vector<double> m_stack;
};
